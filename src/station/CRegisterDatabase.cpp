#include "CRegisterDatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <filesystem>

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

constexpr const char* kContext = "CRegisterDatabase";
constexpr const char* kTable = "radio_operation";
constexpr const char* kOutbox = "register_outbox";
// SQLite waits this long for another connection's write (the register's threads and queries).
constexpr const char* kSqliteOptions = "QSQLITE_BUSY_TIMEOUT=10000";

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ColumnList() {
    QStringList keys;
    for (const char* key : RegisterColumns()) {
        keys << QLatin1String(key);
    }
    return keys.join(QLatin1String(", "));
}

// The columns of the records table, named r in every query.
QString SelectRecords() {
    QStringList keys;
    for (const char* key : RegisterColumns()) {
        keys << QLatin1String("r.") + QLatin1String(key);
    }
    return QLatin1String("SELECT ") + keys.join(QLatin1String(", "));
}

constexpr const char* kLastWrite = "radio_last_write";

// After these operations, when they succeed, a radio holds a profile written by this program.
bool IsWrite(const CRegisterRecord& record) {
    using namespace RegisterOperation;
    return record.outcome == 1 &&
           (record.operation == kWrite || record.operation == kStationWrite ||
            record.operation == kRestore);
}

CRegisterRecord ReadRecord(const QSqlQuery& query) {
    std::vector<std::string> fields;
    const int count = static_cast<int>(RegisterColumns().size());
    fields.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        fields.push_back(query.value(i).toString().toStdString());
    }
    return RegisterRecordFromFields(fields);
}

}  // namespace

CRegisterDatabase::CRegisterDatabase(const CRegisterLocation& location) : m_location(location) {
    static std::atomic<int> s_connections{0};
    m_name = QStringLiteral("qmvvlt-register-%1").arg(++s_connections);
    const bool sqlite = m_location.kind == CRegisterLocation::Kind::kSqlite;
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(
            sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), m_name);
        if (sqlite) {
            std::error_code ec;
            const std::filesystem::path folder =
                std::filesystem::path(m_location.file).parent_path();
            if (!folder.empty()) {
                std::filesystem::create_directories(folder, ec);
            }
            db.setDatabaseName(Q(m_location.file));
            db.setConnectOptions(QLatin1String(kSqliteOptions));
        } else {
            db.setHostName(Q(m_location.host));
            db.setPort(m_location.port);
            db.setDatabaseName(Q(m_location.database));
            db.setUserName(Q(m_location.user));
            db.setPassword(Q(m_location.password));
            // The server's notices ("already exists, skipping") are not for the user.
            db.setConnectOptions(Q(m_location.options) +
                                 QLatin1String(";options='-c client_min_messages=warning'"));
        }
        if (!db.isValid()) {
            failure = db.lastError().text();
        } else if (!db.open()) {
            failure = db.lastError().text();
        } else if (sqlite) {
            // Readers and the writer do not block each other.
            QSqlQuery(QStringLiteral("PRAGMA journal_mode=WAL"), db);
        }
    }
    if (failure.isEmpty()) {
        try {
            CreateTables();
            return;
        } catch (const CQMVVLTException& e) {
            failure = Q(e.Message());
        }
    }
    QSqlDatabase::removeDatabase(m_name);
    ThrowQMVVLT(MessageId::kRegisterNotOpened, kContext,
                CStringTable::Instance().Format(MessageId::kRegisterNotOpened,
                                                {m_location.display, failure.toStdString()}));
}

CRegisterDatabase::~CRegisterDatabase() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase CRegisterDatabase::Database() const {
    return QSqlDatabase::database(m_name, false);
}

void CRegisterDatabase::Fail(const QString& reason) const {
    ThrowQMVVLT(MessageId::kRegisterQueryFailed, kContext,
                CStringTable::Instance().Format(MessageId::kRegisterQueryFailed,
                                                {m_location.display, reason.toStdString()}));
}

void CRegisterDatabase::CreateTables() {
    QStringList columns;
    for (const char* key : RegisterColumns()) {
        const QString name = QLatin1String(key);
        columns << name + (name == QLatin1String("record_id") ? QLatin1String(" TEXT PRIMARY KEY")
                           : name == QLatin1String("outcome") ? QLatin1String(" INTEGER NOT NULL")
                                                              : QLatin1String(" TEXT NOT NULL"));
    }
    const QString table = QLatin1String(kTable);
    const QStringList statements = {
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)").arg(table, columns.join(", ")),
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1_pid ON %1 (pid, op_time)").arg(table),
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1_time ON %1 (op_time)").arg(table),
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1_profile_hash ON %1 (profile_hash)")
            .arg(table),
        // Each radio's last write, kept as records arrive: which radios are not on a profile is
        // then a look at one row per radio rather than a search through their histories.
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (pid TEXT PRIMARY KEY, record_id TEXT NOT "
                       "NULL, op_time TEXT NOT NULL, profile_hash TEXT NOT NULL)")
            .arg(QLatin1String(kLastWrite)),
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (record_id TEXT PRIMARY KEY)")
            .arg(QLatin1String(kOutbox)),
    };
    QSqlDatabase db = Database();
    // Stations starting together may race to make the tables: "IF NOT EXISTS" does not keep
    // PostgreSQL from refusing the second; it finds them made the next time.
    QString failure;
    for (int attempt = 0; attempt < 2; ++attempt) {
        failure.clear();
        for (const QString& statement : statements) {
            QSqlQuery query(db);
            if (!query.exec(statement)) {
                failure = query.lastError().text();
                break;
            }
        }
        if (failure.isEmpty()) {
            return;
        }
    }
    Fail(failure);
}

void CRegisterDatabase::Insert(std::span<const CRegisterRecord> records, bool outbox) {
    QSqlDatabase db = Database();
    if (!db.transaction()) {
        Fail(db.lastError().text());
    }
    QStringList marks;
    for (std::size_t i = 0; i < RegisterColumns().size(); ++i) {
        marks << QStringLiteral("?");
    }
    QSqlQuery insert(db);
    QSqlQuery mark(db);
    QSqlQuery last(db);
    // The later of two writes wins; of two at the same time, the one with the greater id, so
    // that every register that holds both agrees.
    const bool prepared =
        last.prepare(QStringLiteral("INSERT INTO %1 (pid, record_id, op_time, profile_hash) VALUES "
                                    "(?, ?, ?, ?) ON CONFLICT (pid) DO UPDATE SET record_id = "
                                    "excluded.record_id, op_time = excluded.op_time, profile_hash "
                                    "= excluded.profile_hash WHERE excluded.op_time > %1.op_time "
                                    "OR (excluded.op_time = %1.op_time AND excluded.record_id > "
                                    "%1.record_id)")
                         .arg(QLatin1String(kLastWrite))) &&
        insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) ON CONFLICT (record_id) DO "
                                      "NOTHING")
                           .arg(QLatin1String(kTable), ColumnList(), marks.join(", "))) &&
        mark.prepare(QStringLiteral("INSERT INTO %1 (record_id) VALUES (?) ON CONFLICT "
                                    "(record_id) DO NOTHING")
                         .arg(QLatin1String(kOutbox)));
    QString failure =
        prepared ? QString()
                 : insert.lastError().text() + mark.lastError().text() + last.lastError().text();
    for (std::size_t r = 0; failure.isEmpty() && r < records.size(); ++r) {
        const CRegisterRecord& record = records[r];
        const std::vector<std::string> fields = RegisterFields(record);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            insert.bindValue(static_cast<int>(i),
                             std::string_view(RegisterColumns()[i]) == "outcome"
                                 ? QVariant(record.outcome)
                                 : QVariant(Q(fields[i])));
        }
        if (!insert.exec()) {
            failure = insert.lastError().text();
            break;
        }
        if (outbox) {
            mark.bindValue(0, Q(record.id));
            if (!mark.exec()) {
                failure = mark.lastError().text();
            }
        }
        if (failure.isEmpty() && IsWrite(record)) {
            last.bindValue(0, Q(record.pid));
            last.bindValue(1, Q(record.id));
            last.bindValue(2, Q(record.time));
            last.bindValue(3, Q(record.profileHash));
            if (!last.exec()) {
                failure = last.lastError().text();
            }
        }
    }
    if (!failure.isEmpty()) {
        db.rollback();
        Fail(failure);
    }
    if (!db.commit()) {
        const QString reason = db.lastError().text();
        db.rollback();
        Fail(reason);
    }
}

std::vector<CRegisterRecord> CRegisterDatabase::Select(const QString& from,
                                                       const QVariantList& values) {
    QSqlQuery query(Database());
    query.setForwardOnly(true);
    if (!query.prepare(SelectRecords() + from)) {
        Fail(query.lastError().text());
    }
    for (int i = 0; i < values.size(); ++i) {
        query.bindValue(i, values[i]);
    }
    if (!query.exec()) {
        Fail(query.lastError().text());
    }
    std::vector<CRegisterRecord> records;
    while (query.next()) {
        records.push_back(ReadRecord(query));
    }
    return records;
}

namespace {

// FROM and WHERE of the records a filter keeps (the table named r), its values appended.
QString FilteredRecords(const CRegisterFilter& filter, QVariantList& values) {
    QStringList conditions;
    const auto condition = [&](const std::string& value, const char* test) {
        if (!value.empty()) {
            conditions << QLatin1String(test);
            values << Q(value);
        }
    };
    condition(filter.pid, "pid = ?");
    condition(filter.profileFile, "profile_file = ?");
    condition(filter.since, "op_time >= ?");
    QString from = QLatin1String(" FROM ") + QLatin1String(kTable) + QLatin1String(" r");
    if (!conditions.isEmpty()) {
        from += QLatin1String(" WHERE ") + conditions.join(QLatin1String(" AND "));
    }
    return from;
}

}  // namespace

std::vector<CRegisterRecord> CRegisterDatabase::List(const CRegisterFilter& filter) {
    QVariantList values;
    const QString from = FilteredRecords(filter, values);
    return Select(from + QLatin1String(" ORDER BY op_time, record_id"), values);
}

QSqlQuery CRegisterDatabase::ListQuery(const CRegisterFilter& filter, std::string_view markHash,
                                       int orderBy, bool descending) {
    QVariantList values{Q(markHash)};
    const QString from = FilteredRecords(filter, values);
    const auto columns = RegisterColumns();
    const QString order = orderBy >= 0 && orderBy < static_cast<int>(columns.size())
                              ? QLatin1String("r.") + QLatin1String(columns[std::size_t(orderBy)])
                              : QStringLiteral("profile_mark");
    QSqlQuery query(Database());
    const QString text =
        SelectRecords() +
        QStringLiteral(
            ", CASE WHEN r.profile_hash = '' THEN %1 WHEN r.profile_hash = ? THEN %2 "
            "ELSE %3 END AS profile_mark")
            .arg(kNoProfile)
            .arg(kSameProfile)
            .arg(kOtherProfile) +
        from +
        QStringLiteral(" ORDER BY %1 %2, r.op_time, r.record_id")
            .arg(order, descending ? QStringLiteral("DESC") : QStringLiteral("ASC"));
    if (!query.prepare(text)) {
        Fail(query.lastError().text());
    }
    for (int i = 0; i < values.size(); ++i) {
        query.bindValue(i, values[i]);
    }
    if (!query.exec()) {
        Fail(query.lastError().text());
    }
    return query;
}

std::vector<CRegisterRecord> CRegisterDatabase::NotOnProfile(std::string_view profileHash) {
    return Select(QStringLiteral(" FROM %1 w JOIN %2 r ON r.record_id = w.record_id WHERE "
                                 "w.profile_hash <> ? ORDER BY w.pid")
                      .arg(QLatin1String(kLastWrite), QLatin1String(kTable)),
                  {Q(profileHash)});
}

std::vector<CRegisterRecord> CRegisterDatabase::Outbox(int limit) {
    return Select(QStringLiteral(" FROM %1 r WHERE record_id IN (SELECT record_id FROM %2) "
                                 "ORDER BY op_time, record_id LIMIT ?")
                      .arg(QLatin1String(kTable), QLatin1String(kOutbox)),
                  {limit});
}

void CRegisterDatabase::RemoveFromOutbox(std::span<const CRegisterRecord> sent) {
    QSqlDatabase db = Database();
    if (!db.transaction()) {
        Fail(db.lastError().text());
    }
    QSqlQuery remove(db);
    QString failure;
    if (!remove.prepare(
            QStringLiteral("DELETE FROM %1 WHERE record_id = ?").arg(QLatin1String(kOutbox)))) {
        failure = remove.lastError().text();
    }
    for (std::size_t i = 0; failure.isEmpty() && i < sent.size(); ++i) {
        remove.bindValue(0, Q(sent[i].id));
        if (!remove.exec()) {
            failure = remove.lastError().text();
        }
    }
    if (!failure.isEmpty() || !db.commit()) {
        const QString reason = failure.isEmpty() ? db.lastError().text() : failure;
        db.rollback();
        Fail(reason);
    }
}

int CRegisterDatabase::OutboxCount() {
    QSqlQuery query(Database());
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(kOutbox))) ||
        !query.next()) {
        Fail(query.lastError().text());
    }
    return query.value(0).toInt();
}
