#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CSettingDocument.h"

// The latest profile format; the group the application's settings are built for at start-up.
inline constexpr int kLatestModelGroup = 3;

// A control attached to a codeplug field.
struct CodePlugControl {
    int id = 0;
    std::string rightView;
};

// One CPField or CPTag entry of CodePlugSetting, as written in the document.
struct CodePlugEntry {
    std::string kind;  // "CPField" or "CPTag"
    std::string name;
    std::string isExist;
    std::string optional;
    std::string nodename;     // CPField
    std::string defaulvalue;  // CPField (the attribute is spelt so)
    std::string replaceby;    // CPField
    std::string parentNode;   // CPTag
    std::vector<CodePlugControl> controls;
};

// A control of a view under VisibleSetting.
struct VisibleControl {
    int id = 0;
    int isVisible = 0;
};

// UpDownGradeSetting.stv: firmware versions per model group, codeplug fields and tags per group,
// region and clone version, and visible controls per view.
class CUpDownGradeSetting : public CSettingDocument {
  public:
    using CSettingDocument::CSettingDocument;
    // LoadSettingDoc("UpDownGradeSetting.stv", from lib).
    static CUpDownGradeSetting Load();

    // The model group of a firmware version such as "R5E.08.00": leading 'D'/'R' stripped, an
    // exact FirmwareVer first, then the first VerSpan (in document order) whose inclusive range
    // holds the version's number; 0 when nothing matches.
    int GetModelGroup(std::string_view firmwareVersion) const;
    // Whether a version lies above every FirmwareVer and every VerSpan's end: firmware released
    // after these settings, which the editor treats as the latest group.
    bool IsNewerThanEveryGroup(std::string_view firmwareVersion) const;

    // The version a profile is upgraded to for group g: its FirmwareVer's version, else its
    // VerSpan's startVer; nothing when the group lists neither.
    std::optional<std::string> UpgradeVersion(int group) const;

    // The numbers of the groups under VLTVersion, in document order.
    std::vector<int> VersionGroups() const;

    // The entries of CodePlugSetting/G<group>/<section> ("RegionCommon" or a region code), or of
    // its Clone_<clone> child when clone is given, in document order.
    std::vector<CodePlugEntry> CodePlugEntries(int group, std::string_view section,
                                               std::string_view clone = {}) const;

    // The controls of VisibleSetting/G<group>/<section>/<view>, in document order.
    std::vector<VisibleControl> VisibleControls(int group, std::string_view section,
                                                std::string_view view) const;
};
