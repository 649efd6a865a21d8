#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CVirtualCodeplug;
struct CUnit;

// The kinds of radio operation the register keeps.
namespace RegisterOperation {
inline constexpr const char* kRead = "read";
inline constexpr const char* kWrite = "write";
inline constexpr const char* kReset = "reset";
inline constexpr const char* kCapture = "capture";
inline constexpr const char* kStationWrite = "station-write";
inline constexpr const char* kRestore = "restore";
}  // namespace RegisterOperation

// A write's read-back as the register keeps it (empty: not verified).
namespace RegisterVerify {
inline constexpr const char* kPassed = "passed";
inline constexpr const char* kDifferent = "different";
inline constexpr const char* kFailed = "failed";  // the read-back itself failed
}  // namespace RegisterVerify

// One radio operation as the register keeps it; texts are UTF-8.
struct CRegisterRecord {
    std::string id;            // unique; the register makes one when it is empty
    std::string time;          // UTC, RegisterTime form; the register fills it when empty
    std::string operatorName;  // the login name
    std::string station;       // the computer's host name
    std::string port;
    std::string operation;  // RegisterOperation
    std::string pid;
    std::string model;
    std::string firmware;
    std::string codeplug;
    std::string profileFile;  // the profile's file name (without its folder)
    std::string profileHash;  // ProfileHash of the profile as the job held it
    std::string imageHash;    // ImageHash of the exact image sent to the radio
    std::string unit;
    std::string overrides;  // the unit's settings (CUnit::OverridesText)
    std::string backupFile;
    std::string verify;  // RegisterVerify, empty when not verified
    int outcome = 0;     // the radio result code (1: success)
    std::string outcomeText;

    bool operator==(const CRegisterRecord&) const = default;

    // An operation of this process that ended with code on port: now, this login name and
    // computer, the code and the text the program shows for it (its success message, or the
    // main window's text of the failure).
    static CRegisterRecord ForOperation(std::string_view operation, std::string_view port,
                                        int code);
    // The radio's PID, model and versions, from the image its version read filled.
    void SetRadio(std::u16string_view pid, const CVirtualCodeplug& image);
    // The profile (its file and its text as the job held it), and the image sent to the radio
    // when one was (null: nothing was sent).
    void SetProfile(const std::filesystem::path& profileFile, std::string_view profileText,
                    const CVirtualCodeplug* written = nullptr);
    void SetUnit(const CUnit& unit);
};

// The register's columns, in record order: the database's column names and the CSV header.
std::span<const char* const> RegisterColumns();
// A record's fields as texts, in column order, and a record from them (missing fields empty).
std::vector<std::string> RegisterFields(const CRegisterRecord& record);
CRegisterRecord RegisterRecordFromFields(const std::vector<std::string>& fields);

// SHA-256 of the bytes, as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);
// The hash a profile is known by in the register: of its text as the data model holds it
// (CRadioDataModel::ProfileText), before any unit's settings.
std::string ProfileHash(std::string_view profileText);
// The hash of an image: of its every field (CVirtualCodeplugJson).
std::string ImageHash(const CVirtualCodeplug& image);

// Times as the register keeps them: UTC, "YYYY-MM-DDTHH:MM:SS.mmmZ", so that text order is time
// order in any database.
std::string RegisterTimeNow();
// A date (YYYY-MM-DD, the start of that day in local time) or an ISO 8601 date and time (local
// time unless it names its offset) in that form; nothing when the text is neither.
std::optional<std::string> RegisterTimeFromUser(std::string_view text);
