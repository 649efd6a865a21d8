#pragma once

#include <string>
#include <vector>

// Runs qmvvlt-cli as a separate process and captures what it prints.
struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};
CliResult RunCli(const std::vector<std::string>& args, const std::string& stdinText = {});

// A file in a fresh temporary folder that is removed at the end of the test program.
std::string WriteTempFile(const std::string& name, const std::string& content);
