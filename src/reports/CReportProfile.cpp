#include "CReportProfile.h"

#include "ProfileValue.h"

namespace {

std::map<std::string, std::string> Attributes(const xmlNode* node) {
    std::map<std::string, std::string> attrs;
    if (!node) {
        return attrs;
    }
    for (const xmlAttr* a = node->properties; a; a = a->next) {
        const char* name = reinterpret_cast<const char*>(a->name);
        attrs[name] = GetAttribute(node, name).value_or("");
    }
    return attrs;
}

bool Flag(const xmlNode* node, const char* name) {
    return ParseProfileFlag(GetAttribute(node, name).value_or(""));
}

ReportContact ReadContact(const CXPath& xpath, xmlNode* node) {
    ReportContact c;
    c.name = GetAttribute(node, "name").value_or("");
    c.pid = GetAttribute(node, "pid").value_or("");
    c.channel = ParseProfileByte(GetAttribute(node, "channel").value_or(""));
    c.inScanList = Flag(node, "in_scan_list");
    c.inScrollList = Flag(node, "in_scroll_list");
    c.showGrpOnly = Flag(node, "show_grp_only");
    c.seeAllGroups = Flag(node, "see_all_groups");
    c.mngrMode = Flag(node, "mngr_mode");
    c.privateScrollList =
        ParseProfileNumber(GetAttribute(node, "private_scroll_list").value_or("")) != 0;
    c.alertTone = ParseProfileByte(GetAttribute(node, "alert_tone").value_or(""));
    c.homeGrp = GetAttribute(node, "home_grp").value_or("");
    for (xmlNode* group : xpath.SelectNodes("./dfns:*/dfns:ParentPrivateGroup", node)) {
        if (auto pid = GetAttribute(group, "pid"); pid && !pid->empty()) {
            c.parentGroups.push_back(*pid);
        }
    }
    return c;
}

}  // namespace

CReportProfile::CReportProfile(xmlDoc* doc) {
    const CXPath xpath(doc);
    m_version = Attributes(xpath.SelectFirst("//dfns:version"));
    m_limit = Attributes(xpath.SelectFirst("//dfns:limit"));
    m_setting = Attributes(xpath.SelectFirst("//dfns:setting"));
    for (xmlNode* n : xpath.SelectNodes("//dfns:PublicGroups/dfns:PublicGroup")) {
        m_publicGroups.push_back(ReadContact(xpath, n));
    }
    for (xmlNode* n : xpath.SelectNodes("//dfns:PrivateGroups/dfns:PrivateGroup")) {
        m_privateGroups.push_back(ReadContact(xpath, n));
    }
    for (xmlNode* n : xpath.SelectNodes("//dfns:Privates/dfns:Private")) {
        m_privates.push_back(ReadContact(xpath, n));
    }
    for (xmlNode* n : xpath.SelectNodes("//dfns:TextMessages/dfns:TextMessage")) {
        m_texts.push_back(GetAttribute(n, "txt").value_or(""));
    }
}

std::string CReportProfile::Get(const std::map<std::string, std::string>& m, const char* name) {
    auto it = m.find(name);
    return it == m.end() ? std::string() : it->second;
}

std::uint32_t CReportProfile::LimitNumber(const char* name) const {
    return ParseProfileNumber(Limit(name));
}

std::uint32_t CReportProfile::VersionNumber(const char* name) const {
    return ParseProfileNumber(Version(name));
}

bool CReportProfile::SettingFlag(const char* name) const {
    return ParseProfileFlag(Setting(name));
}

const ReportContact* CReportProfile::OwnPrivate() const {
    const std::string own = Limit("pid");
    for (const ReportContact& c : m_privates) {
        if (!own.empty() && c.pid == own) {
            return &c;
        }
    }
    return nullptr;
}

const ReportContact* CReportProfile::ContactByPid(const std::string& pid) const {
    if (pid.empty()) {
        return nullptr;
    }
    for (const auto* list : {&m_publicGroups, &m_privateGroups, &m_privates}) {
        for (const ReportContact& c : *list) {
            if (c.pid == pid) {
                return &c;
            }
        }
    }
    return nullptr;
}

const ReportContact* CReportProfile::PublicGroupByPid(const std::string& pid) const {
    for (const ReportContact& c : m_publicGroups) {
        if (!pid.empty() && c.pid == pid) {
            return &c;
        }
    }
    return nullptr;
}

bool IsRadioReportAvailable(xmlDoc* doc) {
    return CReportProfile(doc).OwnPrivate() != nullptr;
}
