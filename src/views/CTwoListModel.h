#pragma once

#include <QAbstractListModel>
#include <QString>
#include <vector>

// One row of a two-list editor: a data item's global index, its name and its icon (the tree's
// image number: 6 public group, 8 private group, 10 private, 11 the own radio's private). A row
// that is not enabled is shown greyed, cannot be selected and explains itself in its tooltip.
struct TwoListRow {
    int index;
    QString name;
    int icon;
    bool enabled = true;
    QString tooltip;
};

// The rows of one side of a two-list editor, kept in contact name order.
class CTwoListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    // The row's global index, as the editors find the data item of a row.
    static constexpr int kGlobalIndexRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    // Replaces the rows, sorted by name (the contact collation; equal names keep their order).
    void SetRows(std::vector<TwoListRow> rows);
    const std::vector<TwoListRow>& Rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    bool Holds(const QModelIndex& index) const;
    std::vector<TwoListRow> m_rows;
};
