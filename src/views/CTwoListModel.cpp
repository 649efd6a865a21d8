#include "CTwoListModel.h"

#include <algorithm>

#include "Collation.h"
#include "ViewIcons.h"

namespace {
std::u16string_view View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}
}  // namespace

bool CTwoListModel::Holds(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && !index.parent().isValid() &&
           index.row() >= 0 && index.row() < rowCount();
}

void CTwoListModel::SetRows(std::vector<TwoListRow> rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const TwoListRow& a, const TwoListRow& b) {
        return CompareContactNames(View(a.name), View(b.name)) < 0;
    });
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int CTwoListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant CTwoListModel::data(const QModelIndex& index, int role) const {
    if (!Holds(index)) {
        return {};
    }
    const TwoListRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole:
            return row.name;
        case Qt::DecorationRole:
            return ViewIcons::ContactImage(row.icon);
        case Qt::ToolTipRole:
        case Qt::StatusTipRole:
            // The status bar shows it too when the pointer rests on a greyed row.
            return row.tooltip.isEmpty() ? QVariant() : QVariant(row.tooltip);
        case kGlobalIndexRole:
            return row.index;
        default:
            return {};
    }
}

Qt::ItemFlags CTwoListModel::flags(const QModelIndex& index) const {
    if (!Holds(index)) {
        return Qt::NoItemFlags;
    }
    return m_rows[static_cast<std::size_t>(index.row())].enabled
               ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
               : Qt::ItemNeverHasChildren;
}
