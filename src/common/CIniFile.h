#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One scope of the configuration store as a small INI file. Sections are registry key paths
// ("Software\Varentis Solutions\QMV410 VLT\Language\English"), entries are "Name=value" lines.
// Section and value names compare without regard to ASCII case, as registry names do. Values are
// UTF-8 text with the escapes \\ \n \r \t and \0, so a multi-string's NULs survive.
class CIniFile {
  public:
    // Files above this size are refused as unreadable rather than read into memory.
    static constexpr std::uintmax_t kMaxFileSize = 1 << 20;

    // A missing file gives an empty store; a file that exists but cannot be read (or is too
    // large) gives nothing.
    static std::optional<CIniFile> Read(const std::filesystem::path& file);

    bool HasSection(std::string_view section) const;
    // Adds an empty section unless one of that name exists.
    void AddSection(std::string_view section);
    std::optional<std::string> Get(std::string_view section, std::string_view name) const;
    // Replaces the value (keeping the stored spelling of the name) or appends it, adding the
    // section when needed.
    void Set(std::string_view section, std::string_view name, std::string_view value);

    // Writes the whole store atomically (WriteFileAtomically: flushed to disk, then renamed over
    // file), so a failed write or a power cut leaves the old file as it was. Creates the folder
    // when needed.
    bool Write(const std::filesystem::path& file) const;

    std::string ToText() const;
    static CIniFile FromText(std::string_view text);

  private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> values;
    };
    Section* FindSection(std::string_view name);
    const Section* FindSection(std::string_view name) const;

    std::vector<Section> m_sections;
};
