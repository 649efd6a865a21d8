#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "CVirtualCodeplug.h"

class CAppSettings;

// Keeps what a radio held before it is written: its codeplug as a profile in the backup folder,
// named "<radio PID>-<YYYYMMDD>-<HHMMSS>.lam". A backup never replaces an older one.
class CRadioBackup {
  public:
    explicit CRadioBackup(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    const std::filesystem::path& Folder() const { return m_folder; }

    // Where the desktop program and the command-line tool keep backups unless told otherwise.
    static std::filesystem::path UserFolder();

    // The file name for a radio's backup taken at when (local time). Only the PID's digits are
    // used: the PID comes from the radio and must not steer the file elsewhere.
    static std::string FileName(std::u16string_view pid, std::time_t when);

    // Saves image (read from a radio) as a profile in the folder, created when needed, written
    // atomically; returns the file. Raises CQMVVLTException (kBackupNotWritten) when the profile
    // cannot be made or the file cannot be written, with the file's path as its message; nothing
    // is then left behind.
    std::filesystem::path Save(const CVirtualCodeplug& image, CAppSettings& app,
                               const std::filesystem::path& installPath) const;

  private:
    std::filesystem::path m_folder;
};
