#include "LanguageResources.h"

#include <filesystem>

#include "StringTable.h"
#include "Utility.h"

LanguageLoad LoadCurrentLanguageTexts() {
    const std::string language = Utility::GetCurrentLanguage();
    if (language.empty() || language == kBuiltInLanguage) {
        return LanguageLoad::kBuiltIn;
    }
    const std::string file = Utility::GetResourceLibraryPath();
    if (!file.empty() && CStringTable::Instance().LoadLanguageFile(file)) {
        return LanguageLoad::kLoaded;
    }
    return LanguageLoad::kMissing;
}

std::string HelpFileOrEnglish() {
    const std::string own = Utility::GetHelpFilePath();
    std::error_code ec;
    if (own.empty() || std::filesystem::is_regular_file(own, ec)) {
        return own;
    }
    const std::string english = Utility::GetHelpFilePathOf(kBuiltInLanguage);
    return !english.empty() && std::filesystem::is_regular_file(english, ec) ? english : own;
}
