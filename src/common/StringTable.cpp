#include "StringTable.h"

#include <cctype>
#include <fstream>
#include <sstream>

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

bool CStringTable::LoadLanguageFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
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
        const auto tab = line.find('\t');
        if (tab == std::string::npos || tab == 0) {
            return false;
        }
        int id = 0;
        for (std::size_t i = 0; i < tab; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(line[i])) || id > 10'000'000) {
                return false;
            }
            id = id * 10 + (line[i] - '0');
        }
        std::string text;
        if (!Unescape(std::string_view(line).substr(tab + 1), text)) {
            return false;
        }
        entries[id] = std::move(text);
    }
    std::lock_guard lock(m_mutex);
    for (auto& [id, text] : entries) {
        m_texts[id] = std::move(text);
    }
    return true;
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
        // A conversion: optional 'l' length modifiers, then one conversion letter.
        std::size_t j = i + 1;
        while (j < fmt.size() && fmt[j] == 'l') {
            ++j;
        }
        if (j < fmt.size() && std::string_view("sduxXc").find(fmt[j]) != std::string_view::npos) {
            if (next != args.end()) {
                out += *next++;
            }
            i = j;
            continue;
        }
        out += fmt[i];
    }
    return out;
}
