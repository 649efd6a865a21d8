#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "CRegisterLocation.h"
#include "CRegisterRecord.h"

// What a register listing keeps of the records (empty fields: no condition).
struct CRegisterFilter {
    std::string pid;
    std::string profileFile;  // the file name, without its folder
    std::string since;        // RegisterTime form; records at or after it
};

// One connection to a register database through Qt SQL: the same tables, indexes and queries in
// SQLite and PostgreSQL. A connection belongs to the thread that opened it (Qt SQL's rule): each
// thread opens its own. Failures raise CQMVVLTException kRegisterNotOpened or
// kRegisterQueryFailed, whose Message() is the text to show.
class CRegisterDatabase {
  public:
    // Opens the database (an SQLite file and its folder are made when missing) and makes its
    // tables and indexes when it has none.
    explicit CRegisterDatabase(const CRegisterLocation& location);
    ~CRegisterDatabase();
    CRegisterDatabase(const CRegisterDatabase&) = delete;
    CRegisterDatabase& operator=(const CRegisterDatabase&) = delete;

    // Adds the records it does not hold yet (by id), all or none; with outbox, each is also
    // marked as waiting to be sent to the shared register.
    void Insert(std::span<const CRegisterRecord> records, bool outbox = false);

    // The records the filter keeps, oldest first.
    std::vector<CRegisterRecord> List(const CRegisterFilter& filter = {});
    // Per radio, its last successful write (write, station write or restore) when the profile
    // hash of that write is not profileHash; by PID.
    std::vector<CRegisterRecord> NotOnProfile(std::string_view profileHash);

    // The records the filter keeps, for Qt's SQL models on this thread: the columns of
    // RegisterColumns, then kProfileMarkColumn (ProfileMark of each record against markHash),
    // ordered by the column orderBy (an index into those) and then by time. Executed; raises
    // kRegisterQueryFailed.
    QSqlQuery ListQuery(const CRegisterFilter& filter, std::string_view markHash, int orderBy,
                        bool descending);
    enum ProfileMark { kNoProfile = 0, kSameProfile = 1, kOtherProfile = 2 };
    static int ProfileMarkColumn() { return static_cast<int>(RegisterColumns().size()); }

    // The records waiting to be sent, oldest first, at most limit of them.
    std::vector<CRegisterRecord> Outbox(int limit);
    void RemoveFromOutbox(std::span<const CRegisterRecord> sent);
    int OutboxCount();

    // The connection, for Qt's SQL models on this thread.
    QSqlDatabase Database() const;
    const CRegisterLocation& Location() const { return m_location; }

  private:
    void CreateTables();
    // The records a query selects from its FROM clause on (the records table named r), with the
    // values bound in order.
    std::vector<CRegisterRecord> Select(const QString& from, const QVariantList& values);
    [[noreturn]] void Fail(const QString& reason) const;

    CRegisterLocation m_location;
    QString m_name;  // the connection's name
};
