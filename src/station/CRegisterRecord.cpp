#include "CRegisterRecord.h"

#include <pwd.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QSysInfo>
#include <QTimeZone>
#include <array>
#include <cstdio>

#include "CUnitList.h"
#include "CVirtualCodeplug.h"
#include "CVirtualCodeplugJson.h"
#include "FirmwareVersion.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StringTable.h"
#include "TextCodec.h"

namespace {

struct Column {
    const char* key;
    std::string CRegisterRecord::*text;  // null for the outcome code
};

constexpr std::array<Column, 19> kColumns = {{
    {"record_id", &CRegisterRecord::id},
    {"op_time", &CRegisterRecord::time},
    {"operator_name", &CRegisterRecord::operatorName},
    {"station", &CRegisterRecord::station},
    {"port", &CRegisterRecord::port},
    {"operation", &CRegisterRecord::operation},
    {"pid", &CRegisterRecord::pid},
    {"model", &CRegisterRecord::model},
    {"firmware", &CRegisterRecord::firmware},
    {"codeplug", &CRegisterRecord::codeplug},
    {"profile_file", &CRegisterRecord::profileFile},
    {"profile_hash", &CRegisterRecord::profileHash},
    {"image_hash", &CRegisterRecord::imageHash},
    {"unit_label", &CRegisterRecord::unit},
    {"overrides", &CRegisterRecord::overrides},
    {"backup_file", &CRegisterRecord::backupFile},
    {"verify_result", &CRegisterRecord::verify},
    {"outcome", nullptr},
    {"outcome_text", &CRegisterRecord::outcomeText},
}};

constexpr auto kColumnKeys = [] {
    std::array<const char*, kColumns.size()> keys{};
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        keys[i] = kColumns[i].key;
    }
    return keys;
}();

std::string LoginName() {
    // The effective user's entry, as a login shell would name it (the reentrant call: stations
    // record from several threads); the environment as a fallback.
    passwd entry{};
    passwd* found = nullptr;
    std::array<char, 4096> buffer{};
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name) {
        return found->pw_name;
    }
    const char* user = std::getenv("USER");
    return user ? user : "";
}

// What the program says when an operation of this kind succeeded; the result-code texts are all
// failures.
std::string SuccessText(std::string_view operation) {
    using namespace RegisterOperation;
    if (operation == kReset) {
        return LoadString(MessageId::kResetDone);
    }
    if (operation == kRead || operation == kCapture) {
        return LoadString(MessageId::kReadingSuccessful);
    }
    return LoadString(MessageId::kWritingSuccess);
}

std::string Text(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODateWithMs).toStdString();
}

}  // namespace

CRegisterRecord CRegisterRecord::ForOperation(std::string_view operation, std::string_view port,
                                              int code) {
    CRegisterRecord record;
    record.time = RegisterTimeNow();
    record.operatorName = LoginName();
    record.station = QSysInfo::machineHostName().toStdString();
    record.port = port;
    record.operation = operation;
    record.outcome = code;
    record.outcomeText = code == kRadioSuccess ? SuccessText(operation) : RadioResultText(code);
    return record;
}

void CRegisterRecord::SetRadio(std::u16string_view radioPid, const CVirtualCodeplug& image) {
    pid = Utf16ToUtf8(radioPid);
    model = Utf16ToUtf8(image.limits.model);
    const CVersionBlock& v = image.version;
    firmware = FormatFirmwareVersion(std::string(1, static_cast<char>(v.firmware_phase)),
                                     static_cast<std::uint8_t>(v.firmware_release),
                                     static_cast<std::uint8_t>(v.firmware_version),
                                     static_cast<std::uint8_t>(v.firmware_revision));
    char text[32];
    std::snprintf(text, sizeof text, "CP%02X.%02X.%02X",
                  static_cast<unsigned>(static_cast<std::uint8_t>(v.codeplug_structure)),
                  static_cast<unsigned>(static_cast<std::uint8_t>(v.codeplug_version)),
                  static_cast<unsigned>(static_cast<std::uint8_t>(v.codeplug_dev_version)));
    codeplug = text;
}

void CRegisterRecord::SetProfile(const std::filesystem::path& file, std::string_view profileText,
                                 const CVirtualCodeplug* written) {
    profileFile = file.filename().string();
    profileHash = ProfileHash(profileText);
    if (written) {
        imageHash = ImageHash(*written);
    }
}

void CRegisterRecord::SetUnit(const CUnit& listed) {
    unit = listed.label;
    overrides = listed.OverridesText();
}

std::span<const char* const> RegisterColumns() {
    return kColumnKeys;
}

std::vector<std::string> RegisterFields(const CRegisterRecord& record) {
    std::vector<std::string> fields;
    fields.reserve(kColumns.size());
    for (const Column& column : kColumns) {
        fields.push_back(column.text ? record.*column.text : std::to_string(record.outcome));
    }
    return fields;
}

CRegisterRecord RegisterRecordFromFields(const std::vector<std::string>& fields) {
    CRegisterRecord record;
    for (std::size_t i = 0; i < kColumns.size() && i < fields.size(); ++i) {
        if (kColumns[i].text) {
            record.*kColumns[i].text = fields[i];
        } else {
            record.outcome = static_cast<int>(std::strtol(fields[i].c_str(), nullptr, 10));
        }
    }
    return record;
}

std::string Sha256Hex(std::string_view bytes) {
    return QCryptographicHash::hash(
               QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
               QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

std::string ProfileHash(std::string_view profileText) {
    return Sha256Hex(profileText);
}

std::string ImageHash(const CVirtualCodeplug& image) {
    return Sha256Hex(CVirtualCodeplugJson::ToJson(image));
}

std::string RegisterTimeNow() {
    return Text(QDateTime::currentDateTimeUtc());
}

std::optional<std::string> RegisterTimeFromUser(std::string_view text) {
    const QString typed = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (const QDate day = QDate::fromString(typed, Qt::ISODate);
        day.isValid() && typed.size() == 10) {
        return Text(day.startOfDay());
    }
    const QDateTime time = QDateTime::fromString(typed, Qt::ISODateWithMs);
    if (!time.isValid()) {
        return std::nullopt;
    }
    return Text(time);
}
