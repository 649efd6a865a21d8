#include "LanguageMenu.h"

#include <array>
#include <utility>

#include "CRegionSetting.h"

namespace {

constexpr std::array<std::pair<int, const char*>, 7> kLanguageCommands = {{
    {LanguageCommand::kEnglish, "English"},
    {LanguageCommand::kCaFrench, "CaFrench"},
    {LanguageCommand::kFrench, "French"},
    {LanguageCommand::kGerman, "German"},
    {LanguageCommand::kLaPortuguese, "LaPortuguese"},
    {LanguageCommand::kLaSpanish, "LaSpanish"},
    {LanguageCommand::kSpanish, "Spanish"},
}};

}  // namespace

std::vector<LanguageCommand> LanguageMenuCommands(const CRegionSetting& region) {
    const auto supported = region.SupportLanguages();
    std::vector<LanguageCommand> commands;
    if (supported.size() == 1 && supported.front().name == "English") {
        return commands;
    }
    for (const auto& [id, key] : kLanguageCommands) {
        if (const auto display = region.DisplayName(key)) {
            commands.push_back({id, key, *display});
        }
    }
    return commands;
}
