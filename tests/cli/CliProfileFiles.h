#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CliRunner.h"

// What the profile command tests share: the sample profile, a configuration folder of the test
// program's own, and files beside it.
namespace cli_test {

inline const std::string kSample =
    std::string(QMVVLT_SOURCE_DATA_DIR) + "/samples/SampleProfile.xml";

inline const std::string& ConfigDir() {
    static const std::string dir =
        std::filesystem::path(WriteTempFile("config-marker", "")).parent_path() / "config";
    std::filesystem::create_directories(dir);
    return dir;
}

// qmvvlt-cli with the test program's configuration folder.
inline CliResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--config", ConfigDir()});
    return RunCli(args);
}

// A path beside the configuration folder.
inline std::string Out(const std::string& name) {
    return (std::filesystem::path(ConfigDir()).parent_path() / name).string();
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace cli_test
