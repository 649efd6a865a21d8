#include "CTwoListEditor.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "MessageId.h"
#include "StringTable.h"

namespace {
QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}
QString Plain(const QString& text) {
    QString plain = text;
    return plain.remove(QLatin1Char('&')).trimmed();
}
}  // namespace

CTwoListEditor::CTwoListEditor(int availableLabelId, int membersLabelId, QWidget* parent)
    : QWidget(parent), m_availableModel(this), m_membersModel(this) {
    m_availableLabel = new QLabel(Text(availableLabelId), this);
    m_membersLabel = new QLabel(Text(membersLabelId), this);
    m_availableList = NewList(m_availableModel, m_availableLabel);
    m_add = new QPushButton(this);
    m_remove = new QPushButton(this);
    m_membersList = NewList(m_membersModel, m_membersLabel);
    SetButtonTexts(MessageId::kAddButton, MessageId::kRemoveButton);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_availableLabel, 0, 0);
    grid->addWidget(m_membersLabel, 0, 2);
    grid->addWidget(m_availableList, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(m_membersList, 1, 2);
    // The lists take the height the view can give them.
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    policy.setVerticalStretch(1);
    setSizePolicy(policy);
    setTabOrder(m_availableList, m_add);
    setTabOrder(m_add, m_remove);
    setTabOrder(m_remove, m_membersList);

    connect(m_add, &QPushButton::clicked, this, [this] { RequestMove(true); });
    connect(m_remove, &QPushButton::clicked, this, [this] { RequestMove(false); });
    for (QListView* list : {m_availableList, m_membersList}) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &CTwoListEditor::UpdateButtons);
        connect(list, &QListView::doubleClicked, this, [this, list](const QModelIndex& index) {
            if (index.flags().testFlag(Qt::ItemIsSelectable)) {
                RequestMove(list == m_availableList);
            }
        });
    }
    UpdateButtons();
}

QListView* CTwoListEditor::NewList(CTwoListModel& model, const QLabel* label) {
    auto* list = new QListView(this);
    list->setModel(&model);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true);
    list->setIconSize(QSize(17, 17));
    list->setMinimumWidth(170);
    list->setAccessibleName(Plain(label->text()));
    list->installEventFilter(this);
    const_cast<QLabel*>(label)->setBuddy(list);
    return list;
}

void CTwoListEditor::SetRows(std::vector<TwoListRow> available, std::vector<TwoListRow> members) {
    m_availableModel.SetRows(std::move(available));
    m_membersModel.SetRows(std::move(members));
    if (!m_listsEnabled) {
        UpdateButtons();
    } else if (m_move.active) {
        SelectAfterMove();
    } else {
        SelectAsLoaded();
    }
}

std::vector<int> CTwoListEditor::SelectedAvailable() const {
    return Selected(m_availableList);
}

std::vector<int> CTwoListEditor::SelectedMembers() const {
    return Selected(m_membersList);
}

void CTwoListEditor::SetButtonIds(int addCtrlId, int removeCtrlId, int availableCtrlId,
                                  int membersCtrlId) {
    m_add->setProperty("ctrlId", addCtrlId);
    m_remove->setProperty("ctrlId", removeCtrlId);
    m_availableList->setProperty("ctrlId", availableCtrlId);
    m_membersList->setProperty("ctrlId", membersCtrlId);
}

void CTwoListEditor::SetButtonTexts(int addTextId, int removeTextId) {
    m_add->setText(Text(addTextId));
    m_add->setAccessibleName(Plain(m_add->text()));
    m_remove->setText(Text(removeTextId));
    m_remove->setAccessibleName(Plain(m_remove->text()));
}

void CTwoListEditor::ClearAvailableSelection() {
    m_availableList->selectionModel()->clearSelection();
    UpdateButtons();
}

void CTwoListEditor::SetListsEnabled(bool enabled) {
    m_listsEnabled = enabled;
    m_availableList->setEnabled(enabled);
    m_membersList->setEnabled(enabled);
    if (enabled) {
        SelectAsLoaded();
    } else {
        m_availableList->selectionModel()->clearSelection();
        m_membersList->selectionModel()->clearSelection();
        UpdateButtons();
    }
}

bool CTwoListEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        (watched == m_availableList || watched == m_membersList)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            QPushButton* button = watched == m_availableList ? m_add : m_remove;
            if (button->isEnabled()) {
                button->click();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CTwoListEditor::RequestMove(bool fromAvailable) {
    QListView* source = fromAvailable ? m_availableList : m_membersList;
    if (!m_listsEnabled || !(fromAvailable ? m_add : m_remove)->isEnabled()) {
        return;
    }
    QModelIndexList selected = source->selectionModel()->selectedIndexes();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    if (selected.isEmpty()) {
        return;
    }
    std::vector<int> indexes;
    Move move{true, fromAvailable, {}};
    for (const QModelIndex& index : selected) {
        const int global = index.data(CTwoListModel::kGlobalIndexRole).toInt();
        move.rows.emplace_back(index.row(), global);
        indexes.push_back(global);
    }
    // The owner answers synchronously, refreshing the rows once or after each row.
    m_move = std::move(move);
    if (fromAvailable) {
        emit addRequested(indexes);
    } else {
        emit removeRequested(indexes);
    }
    m_move = Move{};
}

void CTwoListEditor::SelectAsLoaded() {
    m_availableList->selectionModel()->clearSelection();
    m_membersList->selectionModel()->clearSelection();
    if (!SelectRowFrom(m_availableList, 0)) {
        SelectRowFrom(m_membersList, 0);
    }
    UpdateButtons();
}

void CTwoListEditor::SelectAfterMove() {
    QListView* source = m_move.fromAvailable ? m_availableList : m_membersList;
    QListView* target = m_move.fromAvailable ? m_membersList : m_availableList;
    const CTwoListModel& sourceModel = m_move.fromAvailable ? m_availableModel : m_membersModel;
    // The last row that left the source; when the rules refused every row, the last one asked.
    int position = m_move.rows.back().first;
    for (auto it = m_move.rows.rbegin(); it != m_move.rows.rend(); ++it) {
        const auto& rows = sourceModel.Rows();
        const bool stayed = std::any_of(rows.begin(), rows.end(), [&](const TwoListRow& row) {
            return row.index == it->second;
        });
        if (!stayed) {
            position = it->first;
            break;
        }
    }
    source->selectionModel()->clearSelection();
    target->selectionModel()->clearSelection();
    if (sourceModel.rowCount() == 0) {
        SelectRowFrom(target, 0);
        target->setFocus();
    } else if (position >= sourceModel.rowCount() || !SelectRowFrom(source, position)) {
        SelectRowFrom(source, 0);
    }
    UpdateButtons();
}

void CTwoListEditor::UpdateButtons() {
    const bool canAdd = m_listsEnabled && m_availableList->selectionModel()->hasSelection();
    const bool canRemove = m_listsEnabled && m_membersList->selectionModel()->hasSelection();
    m_add->setEnabled(canAdd);
    m_remove->setEnabled(canRemove);
}

std::vector<int> CTwoListEditor::Selected(const QListView* list) {
    QModelIndexList selected = list->selectionModel()->selectedIndexes();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<int> indexes;
    for (const QModelIndex& index : selected) {
        indexes.push_back(index.data(CTwoListModel::kGlobalIndexRole).toInt());
    }
    return indexes;
}

// Selects and makes current the first selectable row at or after row; false when there is none.
bool CTwoListEditor::SelectRowFrom(QListView* list, int row) {
    const QAbstractItemModel* model = list->model();
    for (int r = row; r < model->rowCount(); ++r) {
        const QModelIndex index = model->index(r, 0);
        if (index.flags().testFlag(Qt::ItemIsSelectable)) {
            list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    return false;
}
