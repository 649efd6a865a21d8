#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "CSettingDocument.h"

// HelpPane.stv: the help page of a control, by section (the editing view's class name) and id.
class CHelpPaneSetting : public CSettingDocument {
  public:
    using CSettingDocument::CSettingDocument;
    // LoadSettingDoc("HelpPane.stv", from lib).
    static CHelpPaneSetting Load();

    // pageName of "//dfns:<section>/dfns:map[@id='<id>']"; nothing without a match (the caller
    // then keeps its page name). A section or id that cannot be put into the query matches
    // nothing.
    std::optional<std::string> PageName(std::string_view section, std::string_view id) const;
};
