#include "CRecoveryRecord.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <fstream>
#include <iterator>

#include "AtomicFile.h"
#include "MessageId.h"

namespace {

constexpr const char* kFormat = "qmvvlt-recovery-1";
// Far more than any profile a radio can hold; a larger file is not one of ours.
constexpr std::uintmax_t kMaxRecordBytes = 64 * 1024 * 1024;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void CRecoveryRecord::Write(const std::filesystem::path& file) const {
    QJsonObject json;
    json[QStringLiteral("format")] = QLatin1String(kFormat);
    json[QStringLiteral("path")] = Q(path.string());
    json[QStringLiteral("title")] = Q(title);
    json[QStringLiteral("narrow")] = narrow;
    json[QStringLiteral("profile")] = Q(profile);
    const QByteArray bytes = QJsonDocument(json).toJson(QJsonDocument::Compact);
    WriteFileAtomically(file, std::string_view(bytes.constData(), bytes.size()),
                        MessageId::kFailedToSave, "CRecoveryRecord::Write");
}

std::optional<CRecoveryRecord> CRecoveryRecord::Read(const std::filesystem::path& file) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxRecordBytes) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(bytes.data(), bytes.size()));
    const QJsonObject json = document.object();
    if (json.value(QStringLiteral("format")).toString() != QLatin1String(kFormat) ||
        !json.value(QStringLiteral("profile")).isString()) {
        return std::nullopt;
    }
    CRecoveryRecord record;
    record.path = json.value(QStringLiteral("path")).toString().toStdString();
    record.title = json.value(QStringLiteral("title")).toString().toStdString();
    record.narrow = json.value(QStringLiteral("narrow")).toBool();
    record.profile = json.value(QStringLiteral("profile")).toString().toStdString();
    return record;
}
