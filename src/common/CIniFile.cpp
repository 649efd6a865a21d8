#include "CIniFile.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <system_error>

#include "AtomicFile.h"
#include "CQMVVLTException.h"

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// Blanks at either end are escaped so that trimming hand-written lines keeps them.
std::string Escape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == ' ' && (i == 0 || i + 1 == value.size())) {
            out += "\\s";
            continue;
        }
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\0':
                out += "\\0";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case '0':
                out += '\0';
                break;
            case 's':
                out += ' ';
                break;
            default:
                out += value[i];
        }
    }
    return out;
}

// Names end at a line break and must not hide a section header or an '='.
std::string CleanName(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (c != '\n' && c != '\r' && c != '=' && c != '[' && c != ']') {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::optional<CIniFile> CIniFile::Read(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return ec ? std::nullopt : std::optional<CIniFile>(CIniFile());
    }
    const auto size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxFileSize) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return FromText(text);
}

CIniFile CIniFile::FromText(std::string_view text) {
    CIniFile ini;
    Section* current = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            ini.AddSection(name);
            current = ini.FindSection(name);
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos || !current) {
            continue;  // not an entry of any section: ignored like a comment
        }
        const std::string name = CleanName(Trim(line.substr(0, eq)));
        const std::string value = Unescape(Trim(line.substr(eq + 1)));
        bool replaced = false;
        for (auto& [n, v] : current->values) {
            if (EqualNoCase(n, name)) {
                v = value;
                replaced = true;
            }
        }
        if (!replaced) {
            current->values.emplace_back(name, value);
        }
    }
    return ini;
}

std::string CIniFile::ToText() const {
    std::string out;
    for (const Section& s : m_sections) {
        if (!out.empty()) {
            out += '\n';
        }
        out += '[' + s.name + "]\n";
        for (const auto& [name, value] : s.values) {
            out += name + '=' + Escape(value) + '\n';
        }
    }
    return out;
}

CIniFile::Section* CIniFile::FindSection(std::string_view name) {
    // Stored names are cleaned; look up with the name as it was stored.
    const std::string clean = CleanName(name);
    for (Section& s : m_sections) {
        if (EqualNoCase(s.name, clean)) {
            return &s;
        }
    }
    return nullptr;
}

const CIniFile::Section* CIniFile::FindSection(std::string_view name) const {
    return const_cast<CIniFile*>(this)->FindSection(name);
}

bool CIniFile::HasSection(std::string_view section) const {
    return FindSection(section) != nullptr;
}

void CIniFile::AddSection(std::string_view section) {
    if (!FindSection(section)) {
        m_sections.push_back(Section{CleanName(section), {}});
    }
}

std::optional<std::string> CIniFile::Get(std::string_view section, std::string_view name) const {
    if (const Section* s = FindSection(section)) {
        const std::string clean = CleanName(name);
        for (const auto& [n, v] : s->values) {
            if (EqualNoCase(n, clean)) {
                return v;
            }
        }
    }
    return std::nullopt;
}

void CIniFile::Set(std::string_view section, std::string_view name, std::string_view value) {
    AddSection(section);
    Section* s = FindSection(section);
    const std::string clean = CleanName(name);
    for (auto& [n, v] : s->values) {
        if (EqualNoCase(n, clean)) {
            v = value;
            return;
        }
    }
    s->values.emplace_back(clean, std::string(value));
}

bool CIniFile::Write(const std::filesystem::path& file) const {
    std::error_code ec;
    const std::filesystem::path folder = file.parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ec);
        if (ec) {
            return false;
        }
    }
    try {
        // The code only labels the exception caught here; callers learn of the failure by the
        // result.
        WriteFileAtomically(file, ToText(), 0, "CIniFile::Write");
    } catch (const CQMVVLTException&) {
        return false;
    }
    return true;
}
