#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Utility.h"

// A fresh folder holding both scopes of the configuration store for one test; removed after it.
class ConfigTestFolder {
  public:
    ConfigTestFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qmvvlt-config-XXXXXX");
        m_path = mkdtemp(pattern.data());
        Utility::SetConfigFolder(m_path);
    }
    ~ConfigTestFolder() {
        Utility::SetConfigFolder(std::nullopt);
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    ConfigTestFolder(const ConfigTestFolder&) = delete;
    ConfigTestFolder& operator=(const ConfigTestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path User() const { return m_path / "user.ini"; }
    std::filesystem::path Machine() const { return m_path / "machine.ini"; }

    static void Write(const std::filesystem::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

  private:
    std::filesystem::path m_path;
};
