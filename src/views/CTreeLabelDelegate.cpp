#include "CTreeLabelDelegate.h"

#include <QLineEdit>

CTreeLabelDelegate::CTreeLabelDelegate(CommitFunction commit, QObject* parent)
    : QStyledItemDelegate(parent), m_commit(std::move(commit)) {}

QWidget* CTreeLabelDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setMaxLength(kMaxLabelLength);
    }
    return editor;
}

void CTreeLabelDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) {
        return;
    }
    const QString text = line->text();
    if (text.isEmpty() || text == index.data(Qt::DisplayRole).toString()) {
        return;
    }
    if (m_commit(index, text)) {
        model->setData(index, text, Qt::DisplayRole);
    }
}

QSize CTreeLabelDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 2);
}
