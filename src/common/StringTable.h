#pragma once

#include <filesystem>
#include <initializer_list>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One entry of the compiled-in English table.
struct StringTableEntry {
    int id;
    const char* text;  // UTF-8
};

// The numbered texts the user sees. English is compiled in; a language file (lines "ID<TAB>text",
// UTF-8, "\n" "\t" "\\" escapes) replaces the entries it names. Lookups are thread-safe.
class CStringTable {
  public:
    static CStringTable& Instance();

    // The text of entry id; an unknown id gives "" (as an empty resource string would).
    std::string Text(int id) const;
    bool Has(int id) const;

    // Entry id with its printf-style placeholders (%s, %d, %u, %lu, %ld, %x, %%) filled in order
    // from args. Missing args leave the placeholder empty.
    std::string Format(int id, std::initializer_list<std::string_view> args) const;

    // Overlays the entries of a language file; returns false (and changes nothing) when the file
    // cannot be read, a line is malformed or the text is not UTF-8.
    bool LoadLanguageFile(const std::filesystem::path& file);
    // Back to the compiled-in English texts.
    void ResetToEnglish();

  private:
    CStringTable();
    mutable std::mutex m_mutex;
    std::map<int, std::string> m_texts;
};

// The entries of a language file (see CStringTable::LoadLanguageFile); nullopt when the file
// cannot be read, a line is malformed or the text is not UTF-8.
std::optional<std::map<int, std::string>> ReadLanguageFile(const std::filesystem::path& file);

// The conversions of fmt that FormatPlaceholders fills, in order ("%d", "%s", "%lu" ...).
std::vector<std::string> PlaceholdersOf(std::string_view fmt);

// Fills printf-style placeholders of fmt in order from args (see CStringTable::Format).
std::string FormatPlaceholders(std::string_view fmt, std::initializer_list<std::string_view> args);

// Shorthands for the common lookups.
inline std::string LoadString(int id) {
    return CStringTable::Instance().Text(id);
}

// The compiled-in English entries, sorted by id.
extern const StringTableEntry kEnglishStrings[];
extern const std::size_t kEnglishStringCount;
