#pragma once

#include <QStyledItemDelegate>
#include <functional>

// Label editing in the tree: at most 20 characters; the new label is stored only when the commit
// function accepts it (an empty text is dropped without asking).
class CTreeLabelDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using CommitFunction = std::function<bool(const QModelIndex&, const QString&)>;
    static constexpr int kMaxLabelLength = 20;

    CTreeLabelDelegate(CommitFunction commit, QObject* parent = nullptr);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    // Rows a little taller than the style's, for easier reading and clicking.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    CommitFunction m_commit;
};
