#include "TestInstall.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

const fs::path& TestInstallFolder() {
    static const fs::path folder = [] {
        const fs::path source = QMVVLT_SOURCE_DATA_DIR;
        static const fs::path dir =
            fs::temp_directory_path() / ("qmvvlt-install-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* sub : {"lib", "ProfileTemplate", "Report"}) {
            fs::copy(source / sub, dir / sub, fs::copy_options::recursive);
        }
        // The rule file may not be shipped yet in a partial checkout: run without rules then.
        if (!fs::exists(dir / "ProfileTemplate/DataProfile.lua")) {
            std::ofstream(dir / "ProfileTemplate/DataProfile.lua") << "-- no rules\n";
        }
        std::atexit([] { fs::remove_all(dir); });
        return dir;
    }();
    return folder;
}

std::string ReadFileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
