#pragma once

#include <filesystem>
#include <string>

// "recovered/" in the user's data folder: profiles kept after a failure (a read that could not be
// saved where asked, a profile closed on a data error) and the copies of unsaved profiles that
// survive a crash.
std::filesystem::path RecoveredFolder();

// A new file there for a profile named stem, with the time it was kept:
// "<stem>-YYYYMMDD-HHMMSS.lam", numbered when one of that name exists. Creates the folder.
std::filesystem::path NewRecoveredPath(const std::string& stem);
