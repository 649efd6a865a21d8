#include "RecoveredFolder.h"

#include <ctime>
#include <system_error>

#include "Utility.h"

namespace fs = std::filesystem;

fs::path RecoveredFolder() {
    return Utility::UserDataFolder() / "recovered";
}

fs::path NewRecoveredPath(const std::string& stem) {
    const fs::path folder = RecoveredFolder();
    std::error_code ec;
    fs::create_directories(folder, ec);
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string name = stem + "-" + stamp;
    fs::path path = folder / (name + ".lam");
    for (int n = 2; fs::exists(path, ec); ++n) {
        path = folder / (name + "-" + std::to_string(n) + ".lam");
    }
    return path;
}
