#include "CRegionSetting.h"

#include "LoadSettingDoc.h"

CRegionSetting CRegionSetting::Load() {
    return CRegionSetting(LoadSettingDoc("Region.stv", true));
}

std::string CRegionSetting::RegionName() const {
    const xmlNode* region = XPath().SelectFirst("//dfns:Region");
    return region ? GetAttribute(region, "name").value_or("") : std::string();
}

std::vector<SupportLanguage> CRegionSetting::SupportLanguages() const {
    std::vector<SupportLanguage> languages;
    const xmlNode* list = XPath().SelectFirst("//dfns:SupportLanguages");
    if (!list) {
        return languages;
    }
    for (const xmlNode* child = list->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) {
            continue;
        }
        languages.push_back(SupportLanguage{GetAttribute(child, "name").value_or(""),
                                            GetAttribute(child, "displayName").value_or("")});
    }
    return languages;
}

std::optional<std::string> CRegionSetting::DisplayName(std::string_view languageKey) const {
    if (!IsXPathLiteralSafe(languageKey)) {
        return std::nullopt;
    }
    const xmlNode* language = XPath().SelectFirst("//dfns:SupportLanguages/dfns:language[@name='" +
                                                  std::string(languageKey) + "']");
    if (!language) {
        return std::nullopt;
    }
    std::string text = GetAttribute(language, "displayName").value_or("");
    return text.empty() ? std::string(" ") : text;
}
