#pragma once

#include <QSqlQueryModel>
#include <string>

#include "CRegisterDatabase.h"

// The register as a table for the register window: the records a filter keeps, sorted by any
// column in the database (so a long register is never loaded whole to be sorted), with the
// string-table texts for operations and read-backs and a column that marks the records of a
// profile other than the active one.
class CRegisterTableModel : public QSqlQueryModel {
    Q_OBJECT
  public:
    // db: the register's connection on this thread; it must outlive the model's queries.
    CRegisterTableModel(CRegisterDatabase& db, QObject* parent);

    // The column of the mark (CRegisterDatabase::ProfileMark).
    static int MarkColumn() { return CRegisterDatabase::ProfileMarkColumn(); }
    // The columns a user sees; the others hold what only the program needs.
    static bool IsShown(int column);

    void SetFilter(const CRegisterFilter& filter);
    const CRegisterFilter& Filter() const { return m_filter; }
    // The hash (ProfileHash) records are marked against; empty: no active profile.
    void SetActiveProfileHash(std::string hash);
    // Queries the register again; raises CQMVVLTException when it cannot answer.
    void Refresh();

    CRegisterRecord RecordAt(int row) const;
    int MarkAt(int row) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    CRegisterDatabase& m_db;
    CRegisterFilter m_filter;
    std::string m_activeHash;
    int m_sortColumn = 1;  // op_time
    bool m_descending = true;
};
