#pragma once

#include <filesystem>
#include <string>

// A private copy of the shipped data folder (lib, ProfileTemplate, Report) in a temporary folder,
// removed when the test program ends. Tests may change it freely.
const std::filesystem::path& TestInstallFolder();

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
