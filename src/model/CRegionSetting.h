#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CSettingDocument.h"

// One language the Language menu offers.
struct SupportLanguage {
    std::string name;         // language key of the configuration store
    std::string displayName;  // menu text
};

// Region.stv: the installation's region and its languages.
class CRegionSetting : public CSettingDocument {
  public:
    using CSettingDocument::CSettingDocument;
    // LoadSettingDoc("Region.stv", from lib).
    static CRegionSetting Load();

    // The name of the first Region element; empty when there is none.
    std::string RegionName() const;
    // The element children of SupportLanguages in document order (comments are skipped).
    std::vector<SupportLanguage> SupportLanguages() const;
    // The menu text of a language key; an empty displayName is a single space. Nothing when the
    // language is not listed.
    std::optional<std::string> DisplayName(std::string_view languageKey) const;
};
