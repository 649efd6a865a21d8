#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// What every command receives: the global options and its own arguments.
struct CliContext {
    std::optional<std::filesystem::path> installDir;  // --install
    std::optional<std::filesystem::path> configDir;   // --config
    bool verbose = false;                             // --verbose
    std::optional<std::string> registerUrl;           // --register
    std::vector<std::string> args;                    // after the command name
};

// Exit statuses shared by all commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitDataError = 2;
// A write whose read-back found the radio holding something else (write --verify).
inline constexpr int kExitVerifyMismatch = 3;
// diff: the profiles differ (as diff(1) says it).
inline constexpr int kExitDifferent = 1;

// Thrown by argument parsing; main prints the text and the command's usage and exits 1.
struct CliUsageError {
    std::string text;
};
