#pragma once

#include <QTreeWidget>
#include <string>

#include "CCommandState.h"
#include "CDataItem.h"
#include "NodeKind.h"

class IViewHost;

// The navigation tree of one profile: model, contacts with their three lists, settings, the
// scroll and scan lists and the text messages. It chooses the editing view of the selected node,
// asks the shown view to validate before the selection moves, adds, deletes and renames contacts
// and text messages through the data items, and keeps each list in name order.
class CQMVVLTTreeView : public QTreeWidget {
    Q_OBJECT
  public:
    explicit CQMVVLTTreeView(IViewHost& host, QWidget* parent = nullptr);

    // Builds the tree and shows the root's view.
    void Build();
    // A change notice from a view.
    void OnChangeNotice(const ChangeNotice& notice);
    void AddNewItem(NodeKind kind);
    void DelItem(NodeKind kind, int position);

    // The commands while the tree is active.
    void AddForSelected();
    void ScanAdd();
    void DeleteSelected();
    void RenameSelected();
    // Ends an open label edit; false when the edit was refused (the command is then dropped).
    bool FinishLabelEdit();
    // What the selected node allows while the tree has the focus (nothing otherwise).
    const CCommandState& CommandState() const { return m_commands; }

    // Brings the labels a change touches in line with the profile (a refresh of kKindRoot: every
    // label). Only the tree knows which labels show what.
    void ResyncLabels(const ChangeNotice& notice);

    // The list node of a kind (2, 5, 6, 7, 12, 13), or null when the profile has none.
    QTreeWidgetItem* ListNode(NodeKind kind) const;
    // The data item of a list kind (2, 5, 6, 7).
    CDataItem ListItem(NodeKind listKind) const;
    static QString RootLabel(const std::string& model);
    static QString TextMessageLabel(const std::string& text);
    // kKindNone for no item.
    static NodeKind KindOf(const QTreeWidgetItem* item);
    static int PositionOf(const QTreeWidgetItem* item);

  signals:
    void commandStateChanged();

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QTreeWidgetItem* NewItem(QTreeWidgetItem* parent, const QString& label, NodeKind kind,
                             int position = 0);
    void OnCurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void RefreshTreeNode(NodeKind listKind);
    void RefreshScrollNode();
    // All channel nodes (channel 0) or one.
    void RefreshScanChannels(int channel = 0);
    void UpdateCommandFlags();
    void SetCommandState(const CCommandState& state);
    bool CommitRename(QTreeWidgetItem* item, const QString& text);
    void SetPrivateLook(QTreeWidgetItem* item, bool ownRadio);
    void SelectQuietly(QTreeWidgetItem* item);
    // A list's label, with the rule file's note (e.g. that the radio does not support it).
    static QString ListLabel(const CDataItem& list, int labelId);
    // Removes the nodes of lists the rule file no longer shows.
    void RemoveHiddenLists();
    // Runs a tree operation; when a data item call fails, the tree is relabelled from the profile
    // so it still shows what the profile holds, and the failure is reported. The trace names the
    // caller's line.
    template <class F>
    void Guarded(const char* context, F&& operation, int line = __builtin_LINE());

    CDataItem Root() const;
    std::string OwnPid() const;

    IViewHost& m_host;
    QTreeWidgetItem* m_textMessages = nullptr;
    QTreeWidgetItem* m_publicGroups = nullptr;
    QTreeWidgetItem* m_privateGroups = nullptr;
    QTreeWidgetItem* m_privates = nullptr;
    QTreeWidgetItem* m_scroll = nullptr;
    QTreeWidgetItem* m_scanList = nullptr;
    bool m_loaded = false;
    bool m_busy = false;
    CCommandState m_commands;
    std::string m_suffix;
};
