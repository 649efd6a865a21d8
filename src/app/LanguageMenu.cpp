#include "LanguageMenu.h"

#include <array>
#include <utility>

#include "CRegionSetting.h"

namespace {

constexpr std::array<std::pair<int, const char*>, 7> kLanguageCommands = {{
    {32812, "English"},
    {32823, "CaFrench"},
    {32826, "French"},
    {32808, "German"},
    {32821, "LaPortuguese"},
    {32822, "LaSpanish"},
    {32811, "Spanish"},
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
