#pragma once

#include <string>
#include <vector>

// The four most recently used profiles, newest first, kept in the user scope of the
// configuration store so every start and every window sees the same list.
class CRecentFiles {
  public:
    static constexpr std::size_t kMaxEntries = 4;

    static std::vector<std::string> Entries();
    // Puts path first (once), dropping the oldest beyond four.
    static void Add(const std::string& path);
    static void Remove(const std::string& path);

  private:
    static void Store(const std::vector<std::string>& entries);
};
