#pragma once

#include <string>

// What loading the current language's texts came to.
enum class LanguageLoad {
    kBuiltIn,  // English (or no language set): the compiled-in texts
    kLoaded,   // the language file named by GUIResource replaced them
    kMissing,  // the language file is not configured, missing or malformed: English stays
};

// Overlays the string table with the language file of the configured current language. A
// front end decides what a missing file means for it (the desktop program falls back to English
// and says so).
LanguageLoad LoadCurrentLanguageTexts();

// The help file of the current language; where that language has none written, the English one
// (when that exists). Empty when the current language names no help file.
std::string HelpFileOrEnglish();

// The built-in language's key.
inline constexpr const char* kBuiltInLanguage = "English";
