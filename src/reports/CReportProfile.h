#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "XmlDom.h"

// What the reports read of a profile, taken out of its document once.
struct ReportContact {
    std::string name;
    std::string pid;
    unsigned channel = 0;
    bool inScanList = false;
    bool inScrollList = false;
    // private contacts only
    bool showGrpOnly = false;
    bool seeAllGroups = false;
    bool mngrMode = false;
    bool privateScrollList = false;
    unsigned alertTone = 0;
    std::string homeGrp;
    std::vector<std::string> parentGroups;
};

class CReportProfile {
  public:
    explicit CReportProfile(xmlDoc* doc);

    // Attributes of version, limit and setting ("" when absent).
    std::string Version(const char* name) const { return Get(m_version, name); }
    std::string Limit(const char* name) const { return Get(m_limit, name); }
    std::string Setting(const char* name) const { return Get(m_setting, name); }
    std::uint32_t LimitNumber(const char* name) const;
    std::uint32_t VersionNumber(const char* name) const;
    bool LimitFlag(const char* name) const { return LimitNumber(name) & 1u; }
    bool SettingFlag(const char* name) const;

    const std::vector<ReportContact>& PublicGroups() const { return m_publicGroups; }
    const std::vector<ReportContact>& PrivateGroups() const { return m_privateGroups; }
    const std::vector<ReportContact>& Privates() const { return m_privates; }
    const std::vector<std::string>& Texts() const { return m_texts; }

    // The private contact whose PID is the profile's own PID (the radio it is for), or null.
    const ReportContact* OwnPrivate() const;
    // Any contact with this PID, or null.
    const ReportContact* ContactByPid(const std::string& pid) const;
    const ReportContact* PublicGroupByPid(const std::string& pid) const;

  private:
    static std::string Get(const std::map<std::string, std::string>& m, const char* name);

    std::map<std::string, std::string> m_version, m_limit, m_setting;
    std::vector<ReportContact> m_publicGroups, m_privateGroups, m_privates;
    std::vector<std::string> m_texts;
};

// The radio-specific report is offered only when the profile's own PID is one of its privates.
bool IsRadioReportAvailable(xmlDoc* doc);
