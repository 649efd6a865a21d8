#pragma once

#include <filesystem>
#include <optional>
#include <string>

// A recovery copy of a profile with unsaved changes, as kept on disk until the profile is saved,
// closed, or restored after a crash: the profile as it was being edited and what the window knew
// it as.
struct CRecoveryRecord {
    std::filesystem::path path;  // the file it was opened from or last saved to; empty when none
    std::string title;           // the document's title
    std::string profile;         // the edited profile document, UTF-8 XML
    bool narrow = false;         // the form of the file it came from

    // Replaces file with this record (never a half-written one). Raises CQMVVLTException.
    void Write(const std::filesystem::path& file) const;
    // The record in file; nothing when the file cannot be read or holds no record.
    static std::optional<CRecoveryRecord> Read(const std::filesystem::path& file);
};
