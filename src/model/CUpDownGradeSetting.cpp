#include "CUpDownGradeSetting.h"

#include <cstdint>
#include <cstdlib>

#include "FirmwareVersion.h"
#include "LoadSettingDoc.h"

namespace {

int IntAttribute(const xmlNode* node, const char* name) {
    const std::string text = GetAttribute(node, name).value_or("");
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return value > INT32_MAX || value < INT32_MIN ? 0 : static_cast<int>(value);
}

std::int64_t VersionAttribute(const xmlNode* node, const char* name) {
    return FirmwareVersionNumber(GetAttribute(node, name).value_or(""));
}

}  // namespace

CUpDownGradeSetting CUpDownGradeSetting::Load() {
    return CUpDownGradeSetting(LoadSettingDoc("UpDownGradeSetting.stv", true));
}

int CUpDownGradeSetting::GetModelGroup(std::string_view firmwareVersion) const {
    const std::string_view stripped = StripFirmwarePhase(firmwareVersion);
    const CXPath xpath = XPath();
    if (IsXPathLiteralSafe(stripped)) {
        const xmlNode* exact = xpath.SelectFirst(
            "//dfns:VLTVersion/dfns:*/dfns:FirmwareVer[@version='" + std::string(stripped) + "']");
        if (exact && exact->parent) {
            return GroupNumberOfName(NodeName(exact->parent));
        }
    }
    const std::int64_t number = FirmwareVersionNumber(stripped);
    for (const xmlNode* span :
         xpath.SelectNodes("//dfns:VLTVersion/dfns:*/dfns:VerSpan[@startVer]")) {
        if (VersionAttribute(span, "startVer") <= number &&
            number <= VersionAttribute(span, "endVer") && span->parent) {
            return GroupNumberOfName(NodeName(span->parent));
        }
    }
    return 0;
}

bool CUpDownGradeSetting::IsNewerThanEveryGroup(std::string_view firmwareVersion) const {
    const std::int64_t number = FirmwareVersionNumber(StripFirmwarePhase(firmwareVersion));
    const CXPath xpath = XPath();
    bool anyKnown = false;
    for (const xmlNode* v : xpath.SelectNodes("//dfns:VLTVersion/dfns:*/dfns:FirmwareVer")) {
        anyKnown = true;
        if (VersionAttribute(v, "version") >= number) {
            return false;
        }
    }
    for (const xmlNode* span : xpath.SelectNodes("//dfns:VLTVersion/dfns:*/dfns:VerSpan")) {
        anyKnown = true;
        if (VersionAttribute(span, "endVer") >= number ||
            VersionAttribute(span, "startVer") >= number) {
            return false;
        }
    }
    return anyKnown;
}

std::optional<std::string> CUpDownGradeSetting::UpgradeVersion(int group) const {
    const CXPath xpath = XPath();
    const std::string base =
        "//dfns:UpDownGradeSetting/dfns:VLTVersion/dfns:G" + std::to_string(group);
    if (const xmlNode* exact = xpath.SelectFirst(base + "/dfns:FirmwareVer")) {
        if (auto version = GetAttribute(exact, "version")) {
            return version;
        }
    }
    if (const xmlNode* span = xpath.SelectFirst(base + "/dfns:VerSpan")) {
        return GetAttribute(span, "startVer");
    }
    return std::nullopt;
}

std::vector<int> CUpDownGradeSetting::VersionGroups() const {
    std::vector<int> groups;
    for (const xmlNode* g :
         XPath().SelectNodes("//dfns:UpDownGradeSetting/dfns:VLTVersion/dfns:*")) {
        groups.push_back(GroupNumberOfName(NodeName(g)));
    }
    return groups;
}

std::vector<CodePlugEntry> CUpDownGradeSetting::CodePlugEntries(int group, std::string_view section,
                                                                std::string_view clone) const {
    std::vector<CodePlugEntry> entries;
    // The clone version completes the name "Clone_<v>", so it may start with a digit.
    if (!IsXmlNameSafe(section) ||
        (!clone.empty() && !IsXmlNameSafe("Clone_" + std::string(clone)))) {
        return entries;
    }
    std::string path =
        "//dfns:CodePlugSetting/dfns:G" + std::to_string(group) + "/dfns:" + std::string(section);
    if (!clone.empty()) {
        path += "/dfns:Clone_" + std::string(clone);
    }
    const CXPath xpath = XPath();
    for (const xmlNode* node : xpath.SelectNodes(path + "/dfns:*[@name]")) {
        CodePlugEntry entry;
        entry.kind = std::string(NodeName(node));
        entry.name = GetAttribute(node, "name").value_or("");
        entry.isExist = GetAttribute(node, "isExist").value_or("");
        entry.optional = GetAttribute(node, "optional").value_or("");
        entry.nodename = GetAttribute(node, "nodename").value_or("");
        entry.defaulvalue = GetAttribute(node, "defaulvalue").value_or("");
        entry.replaceby = GetAttribute(node, "replaceby").value_or("");
        entry.parentNode = GetAttribute(node, "parentNode").value_or("");
        for (const xmlNode* control :
             xpath.SelectNodes("dfns:Control", const_cast<xmlNode*>(node))) {
            entry.controls.push_back(CodePlugControl{
                IntAttribute(control, "ID"), GetAttribute(control, "RightView").value_or("")});
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<VisibleControl> CUpDownGradeSetting::VisibleControls(int group,
                                                                 std::string_view section,
                                                                 std::string_view view) const {
    std::vector<VisibleControl> controls;
    if (!IsXmlNameSafe(section) || !IsXmlNameSafe(view)) {
        return controls;
    }
    const std::string path = "//dfns:VisibleSetting/dfns:G" + std::to_string(group) +
                             "/dfns:" + std::string(section) + "/dfns:" + std::string(view) +
                             "/dfns:Control";
    for (const xmlNode* control : XPath().SelectNodes(path)) {
        controls.push_back(
            VisibleControl{IntAttribute(control, "ID"), IntAttribute(control, "isVisible")});
    }
    return controls;
}
