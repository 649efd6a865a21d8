#include "CRegisterLocation.h"

#include <QUrl>
#include <QUrlQuery>

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

constexpr const char* kContext = "CRegisterLocation::FromUrl";
constexpr const char* kDefaultConnectTimeout = "connect_timeout=5";

[[noreturn]] void BadUrl(std::string_view url) {
    ThrowQMVVLT(MessageId::kRegisterBadUrl, kContext,
                CStringTable::Instance().Format(MessageId::kRegisterBadUrl, {url}));
}

}  // namespace

CRegisterLocation CRegisterLocation::Sqlite(const std::filesystem::path& file) {
    CRegisterLocation location;
    location.file = file.string();
    location.display = location.file;
    return location;
}

CRegisterLocation CRegisterLocation::FromUrl(std::string_view text) {
    const QUrl url(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                   QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid()) {
        BadUrl(text);
    }
    if (scheme == QLatin1String("sqlite")) {
        if (url.path().isEmpty() || !url.host().isEmpty() || url.hasQuery()) {
            BadUrl(text);
        }
        return Sqlite(url.path().toStdString());
    }
    if (scheme != QLatin1String("postgresql") && scheme != QLatin1String("postgres")) {
        BadUrl(text);
    }
    CRegisterLocation location;
    location.kind = Kind::kPostgres;
    location.host = url.host().toStdString();
    location.port = url.port(-1);
    location.user = url.userName().toStdString();
    location.password = url.password().toStdString();
    location.database = url.path().mid(1).toStdString();
    if (location.database.empty() || location.database.find('/') != std::string::npos) {
        BadUrl(text);
    }
    bool timeoutGiven = false;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        // The driver joins the parameters with blanks: nothing may need quoting.
        const auto plain = [](const QString& part) {
            for (const QChar c : part) {
                if (c.isSpace() || c == QLatin1Char(';') || c == QLatin1Char('=') ||
                    c == QLatin1Char('\'') || c == QLatin1Char('\\')) {
                    return false;
                }
            }
            return true;
        };
        if (key.isEmpty() || !plain(key) || !plain(value)) {
            BadUrl(text);
        }
        if (key == QLatin1String("host")) {
            location.host = value.toStdString();
            continue;
        }
        timeoutGiven = timeoutGiven || key == QLatin1String("connect_timeout");
        location.options +=
            (location.options.empty() ? "" : ";") + key.toStdString() + "=" + value.toStdString();
    }
    if (!timeoutGiven) {
        location.options +=
            std::string(location.options.empty() ? "" : ";") + kDefaultConnectTimeout;
    }
    location.display = url.toDisplayString(QUrl::RemovePassword).toStdString();
    return location;
}
