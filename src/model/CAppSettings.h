#pragma once

#include <filesystem>
#include <string>

#include "CHelpPaneSetting.h"
#include "CRadioDataModel.h"
#include "CRegionSetting.h"
#include "CUpDownGradeSetting.h"
#include "XmlDom.h"

// The application's settings state, owned by the GUI and the CLI alike: the three settings
// documents as installed, the region they declare, and the working copy of the group settings
// merged for the current model group (which controls the views show).
class CAppSettings {
  public:
    CAppSettings(CHelpPaneSetting helpPane, CRegionSetting region, CUpDownGradeSetting upDownGrade);
    // Loads the three documents from the install folder (222 when one is missing or broken).
    static CAppSettings Load();

    const CHelpPaneSetting& HelpPane() const { return m_helpPane; }
    const CRegionSetting& Region() const { return m_region; }
    const CUpDownGradeSetting& UpDownGrade() const { return m_upDownGrade; }
    const std::string& RegionName() const { return m_regionName; }

    // The merged visible settings (document element: the merged view list) and their group.
    xmlDoc* WorkingCopy() const { return m_workingCopy.get(); }
    int CurrentGroup() const { return m_currentGroup; }

    // Rebuilds the working copy for group g. On a broken settings document returns false and puts
    // the exception's trace text (the message box text) into *trace; the old copy stays.
    bool BuildGroupSettings(int group, std::string* trace = nullptr);
    // After a document is opened or created: rebuilds when its group differs from the current one.
    bool SwitchToGroup(int group, std::string* trace = nullptr);

    // What a data model needs of the application.
    CModelEnvironment ModelEnvironment(const std::filesystem::path& installPath) const;

    // The merges, on a working document (exposed for tests).
    static void CodePlugMergeToBase(xmlDoc* doc, const std::string& source,
                                    const std::string& base);
    static void VisibleMergeToBase(xmlDoc* doc, const std::string& source, const std::string& base);
    static void MergeCpToBase(xmlDoc* doc);

  private:
    CHelpPaneSetting m_helpPane;
    CRegionSetting m_region;
    CUpDownGradeSetting m_upDownGrade;
    std::string m_regionName;
    XmlDocPtr m_workingCopy;
    int m_currentGroup = kLatestModelGroup;
};

// The region a build expects from its application name: "VLT", "QMV" and blanks removed, then
// "410" means "LACR" and "520" "FEMA"; nothing left means "QMV"; any other number is itself.
std::string ExpectedRegion(std::string_view applicationName);

inline constexpr const char* kApplicationName = "QMV410 VLT";
