#pragma once

#include <string>
#include <vector>

class CRegionSetting;

// One command of the Language menu.
struct LanguageCommand {
    // The command ids of the entries.
    enum Id : int {
        kGerman = 32808,
        kSpanish = 32811,
        kEnglish = 32812,
        kLaPortuguese = 32821,
        kLaSpanish = 32822,
        kCaFrench = 32823,
        kFrench = 32826,
    };

    int commandId;
    std::string key;          // language key of the configuration store
    std::string displayName;  // the menu text from the region document
};

// The language commands the region document leaves in the menu, in menu order. Empty when it
// lists "English" alone: the whole Language submenu then goes.
std::vector<LanguageCommand> LanguageMenuCommands(const CRegionSetting& region);
