#include "CRegisterTableModel.h"

#include <QBrush>
#include <QColor>
#include <filesystem>
#include <string_view>

#include "DialogText.h"
#include "MessageId.h"
#include "RegisterText.h"

namespace {

std::string_view Key(int column) {
    const auto columns = RegisterColumns();
    return column >= 0 && column < static_cast<int>(columns.size())
               ? std::string_view(columns[std::size_t(column)])
               : std::string_view();
}

int HeaderOf(int column) {
    return column == CRegisterTableModel::MarkColumn() ? MessageId::kRegisterMarkHeader
                                                       : RegisterHeaderId(Key(column));
}

}  // namespace

CRegisterTableModel::CRegisterTableModel(CRegisterDatabase& db, QObject* parent)
    : QSqlQueryModel(parent), m_db(db) {}

bool CRegisterTableModel::IsShown(int column) {
    return HeaderOf(column) != 0;
}

void CRegisterTableModel::SetFilter(const CRegisterFilter& filter) {
    m_filter = filter;
    Refresh();
}

void CRegisterTableModel::SetActiveProfileHash(std::string hash) {
    m_activeHash = std::move(hash);
}

void CRegisterTableModel::Refresh() {
    setQuery(m_db.ListQuery(m_filter, m_activeHash, m_sortColumn, m_descending));
    // Counts and the table's end are right at once; a register is read in full to show it.
    while (canFetchMore()) {
        fetchMore();
    }
}

void CRegisterTableModel::sort(int column, Qt::SortOrder order) {
    m_sortColumn = column;
    m_descending = order == Qt::DescendingOrder;
    Refresh();
}

CRegisterRecord CRegisterTableModel::RecordAt(int row) const {
    std::vector<std::string> fields;
    for (int column = 0; column < MarkColumn(); ++column) {
        fields.push_back(QSqlQueryModel::data(index(row, column)).toString().toStdString());
    }
    return RegisterRecordFromFields(fields);
}

int CRegisterTableModel::MarkAt(int row) const {
    return QSqlQueryModel::data(index(row, MarkColumn())).toInt();
}

QVariant CRegisterTableModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::BackgroundRole && MarkAt(index.row()) == CRegisterDatabase::kOtherProfile) {
        return QBrush(QColor(255, 224, 178));
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return QSqlQueryModel::data(index, role);
    }
    const QVariant value = QSqlQueryModel::data(index, Qt::DisplayRole);
    if (index.column() == MarkColumn()) {
        switch (value.toInt()) {
            case CRegisterDatabase::kSameProfile:
                return DialogText(MessageId::kRegisterSameProfile);
            case CRegisterDatabase::kOtherProfile:
                return DialogText(MessageId::kRegisterOtherProfile);
            default:
                return QString();
        }
    }
    const std::string text = value.toString().toStdString();
    const std::string_view key = Key(index.column());
    if (key == "backup_file" && role == Qt::DisplayRole) {
        // The folder is the same for every backup; the tool tip tells it.
        return QString::fromStdString(std::filesystem::path(text).filename().string());
    }
    return QString::fromStdString(RegisterFieldText(key, text));
}

QVariant CRegisterTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const int id = HeaderOf(section);
        return id ? DialogText(id) : QString::fromLatin1(Key(section).data());
    }
    return QSqlQueryModel::headerData(section, orientation, role);
}
