#include "CRecentFiles.h"

#include <algorithm>

#include "CIniFile.h"
#include "Utility.h"

namespace {
constexpr const char* kSection = "Software\\Varentis Solutions\\QMV410 VLT\\Recent File List";

std::string EntryName(std::size_t index) {
    return "File" + std::to_string(index + 1);
}
}  // namespace

std::vector<std::string> CRecentFiles::Entries() {
    std::vector<std::string> entries;
    const auto store = CIniFile::Read(Utility::StoreFiles().user);
    if (!store) {
        return entries;
    }
    for (std::size_t i = 0; i < kMaxEntries; ++i) {
        const auto value = store->Get(kSection, EntryName(i));
        if (value && !value->empty()) {
            entries.push_back(*value);
        }
    }
    return entries;
}

void CRecentFiles::Add(const std::string& path) {
    std::vector<std::string> entries = Entries();
    entries.erase(std::remove(entries.begin(), entries.end(), path), entries.end());
    entries.insert(entries.begin(), path);
    if (entries.size() > kMaxEntries) {
        entries.resize(kMaxEntries);
    }
    Store(entries);
}

void CRecentFiles::Remove(const std::string& path) {
    std::vector<std::string> entries = Entries();
    entries.erase(std::remove(entries.begin(), entries.end(), path), entries.end());
    Store(entries);
}

void CRecentFiles::Store(const std::vector<std::string>& entries) {
    const auto file = Utility::StoreFiles().user;
    auto store = CIniFile::Read(file);
    if (!store) {
        return;
    }
    for (std::size_t i = 0; i < kMaxEntries; ++i) {
        store->Set(kSection, EntryName(i), i < entries.size() ? entries[i] : std::string());
    }
    store->Write(file);
}
