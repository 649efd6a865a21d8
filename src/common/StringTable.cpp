#include "StringTable.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "TextCodec.h"

CStringTable& CStringTable::Instance() {
    static CStringTable table;
    return table;
}

CStringTable::CStringTable() {
    ResetToEnglish();
}

void CStringTable::ResetToEnglish() {
    std::lock_guard lock(m_mutex);
    m_texts.clear();
    for (std::size_t i = 0; i < kEnglishStringCount; ++i) {
        m_texts.emplace(kEnglishStrings[i].id, kEnglishStrings[i].text);
    }
}

std::string CStringTable::Text(int id) const {
    std::lock_guard lock(m_mutex);
    auto it = m_texts.find(id);
    return it == m_texts.end() ? std::string() : it->second;
}

bool CStringTable::Has(int id) const {
    std::lock_guard lock(m_mutex);
    return m_texts.count(id) != 0;
}

std::string CStringTable::Format(int id, std::initializer_list<std::string_view> args) const {
    return FormatPlaceholders(Text(id), args);
}

namespace {

bool Unescape(std::string_view in, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (++i == in.size()) {
            return false;
        }
        switch (in[i]) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::map<int, std::string>> ReadLanguageFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::map<int, std::string> entries;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        // Invalid bytes would reach the screen as replacement characters: refuse the file.
        if (!IsValidUtf8(line)) {
            return std::nullopt;
        }
        const auto tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) {
            return std::nullopt;
        }
        int id = 0;
        for (std::size_t i = 0; i < tab; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(line[i])) || id > 10'000'000) {
                return std::nullopt;
            }
            id = id * 10 + (line[i] - '0');
        }
        std::string text;
        if (!Unescape(std::string_view(line).substr(tab + 1), text)) {
            return std::nullopt;
        }
        entries[id] = std::move(text);
    }
    return entries;
}

bool CStringTable::LoadLanguageFile(const std::filesystem::path& file) {
    std::optional<std::map<int, std::string>> entries = ReadLanguageFile(file);
    if (!entries) {
        return false;
    }
    std::lock_guard lock(m_mutex);
    for (auto& [id, text] : *entries) {
        m_texts[id] = std::move(text);
    }
    return true;
}

namespace {

// Length of the conversion at fmt[i] ('%', optional 'l' modifiers, one conversion letter), or 0
// when there is none there.
std::size_t ConversionLength(std::string_view fmt, std::size_t i) {
    std::size_t j = i + 1;
    while (j < fmt.size() && fmt[j] == 'l') {
        ++j;
    }
    if (j < fmt.size() && std::string_view("sduxXc").find(fmt[j]) != std::string_view::npos) {
        return j - i + 1;
    }
    return 0;
}

}  // namespace

std::vector<std::string> PlaceholdersOf(std::string_view fmt) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i + 1 < fmt.size(); ++i) {
        if (fmt[i] != '%') {
            continue;
        }
        if (fmt[i + 1] == '%') {
            ++i;
            continue;
        }
        if (const std::size_t length = ConversionLength(fmt, i)) {
            found.emplace_back(fmt.substr(i, length));
            i += length - 1;
        }
    }
    return found;
}

std::string FormatPlaceholders(std::string_view fmt, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(fmt.size() + 16);
    auto next = args.begin();
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%' || i + 1 == fmt.size()) {
            out += fmt[i];
            continue;
        }
        if (fmt[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        if (const std::size_t length = ConversionLength(fmt, i)) {
            if (next != args.end()) {
                out += *next++;
            }
            i += length - 1;
            continue;
        }
        out += fmt[i];
    }
    return out;
}
