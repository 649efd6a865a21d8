#include "CHelpPaneSetting.h"

#include "LoadSettingDoc.h"

CHelpPaneSetting CHelpPaneSetting::Load() {
    return CHelpPaneSetting(LoadSettingDoc("HelpPane.stv", true));
}

std::optional<std::string> CHelpPaneSetting::PageName(std::string_view section,
                                                      std::string_view id) const {
    if (!IsXmlNameSafe(section) || !IsXPathLiteralSafe(id)) {
        return std::nullopt;
    }
    const xmlNode* map = XPath().SelectFirst("//dfns:" + std::string(section) + "/dfns:map[@id='" +
                                             std::string(id) + "']");
    if (!map) {
        return std::nullopt;
    }
    return GetAttribute(map, "pageName");
}
