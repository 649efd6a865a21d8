#pragma once

#include <QWidget>
#include <vector>

#include "CTwoListModel.h"

class QLabel;
class QListView;
class QPushButton;

// Two lists side by side: the contacts that may be added (available) and the members, with
// "Add >>" and "<< Remove" between them. A double click in a list or Enter in it does what its
// button does. The editor only asks: its owner commits each membership through the data items,
// then hands the new rows back with SetRows, and the editor selects as the owner's list rules
// expect (first row on load; after a move the row at the last moved position, or the other
// list when the source ran empty).
class CTwoListEditor : public QWidget {
    Q_OBJECT
  public:
    // The string-table ids of the two list labels.
    CTwoListEditor(int availableLabelId, int membersLabelId, QWidget* parent = nullptr);

    // Replaces both sides (each sorted by contact name order) and selects.
    void SetRows(std::vector<TwoListRow> available, std::vector<TwoListRow> members);
    // The global indexes of the selected rows, top to bottom.
    std::vector<int> SelectedAvailable() const;
    std::vector<int> SelectedMembers() const;
    // The numeric control ids (property "ctrlId") of the buttons and lists.
    void SetButtonIds(int addCtrlId, int removeCtrlId, int availableCtrlId, int membersCtrlId);
    // The string-table ids of the button texts (kAddButton and kRemoveButton unless told).
    void SetButtonTexts(int addTextId, int removeTextId);
    // Deselects every available row (a full list refuses any addition).
    void ClearAvailableSelection();
    // Disabled: both lists deselected and disabled, both buttons disabled. Enabled: selects as
    // on load.
    void SetListsEnabled(bool enabled);

    QListView* AvailableList() const { return m_availableList; }
    QListView* MembersList() const { return m_membersList; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* RemoveButton() const { return m_remove; }
    QLabel* AvailableLabel() const { return m_availableLabel; }
    QLabel* MembersLabel() const { return m_membersLabel; }
    const CTwoListModel& AvailableModel() const { return m_availableModel; }
    const CTwoListModel& MembersModel() const { return m_membersModel; }

  signals:
    void addRequested(std::vector<int> indexes);
    void removeRequested(std::vector<int> indexes);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Move {
        bool active = false;
        bool fromAvailable = true;
        // Positions in the source list and global indexes of the rows asked to move, in order.
        std::vector<std::pair<int, int>> rows;
    };

    QListView* NewList(CTwoListModel& model, const QLabel* label);
    void RequestMove(bool fromAvailable);
    void SelectAsLoaded();
    void SelectAfterMove();
    void UpdateButtons();
    static std::vector<int> Selected(const QListView* list);
    static bool SelectRowFrom(QListView* list, int row);

    CTwoListModel m_availableModel;
    CTwoListModel m_membersModel;
    QLabel* m_availableLabel = nullptr;
    QLabel* m_membersLabel = nullptr;
    QListView* m_availableList = nullptr;
    QListView* m_membersList = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    bool m_listsEnabled = true;
    Move m_move;
};
