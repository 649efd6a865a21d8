#pragma once

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <vector>

#include "CBaseView.h"
#include "CCommandState.h"
#include "IViewHost.h"

class CAppSettings;
class CBaseView;
class CHelpPane;
class CProfileUndoStack;
class CTreeFindBar;
struct CProfileSnapshot;
class CQMVVLTDoc;
class CQMVVLTTreeView;
class IFrameOwner;
class QSplitter;
class QStackedWidget;

// The window of one open profile: the navigation tree on the left, the editing view of the
// selected node on the right, and below it the context help pane when that is switched on.
class CChildFrame : public QWidget, public IViewHost {
    Q_OBJECT
  public:
    CChildFrame(std::unique_ptr<CQMVVLTDoc> document, const CAppSettings& settings,
                std::vector<std::filesystem::path> helpFolders, IViewUi& ui, IFrameOwner& owner,
                QWidget* parent = nullptr);
    ~CChildFrame() override;

    // Builds the tree and shows the root's view. Raises CQMVVLTException.
    void InitialUpdate();

    CQMVVLTTreeView* Tree() const { return m_tree; }
    CBaseView* View() const { return m_view; }
    CHelpPane* HelpPane() const { return m_help; }
    void SetHelpPaneShown(bool shown);
    bool HelpPaneShown() const;
    int HelpPaneHeight() const { return m_helpHeight; }

    // The title the window shows: the file name, or the document's title; with "[*]".
    QString DisplayName() const;
    // What an untitled profile is called (before its number).
    static QString UntitledName();
    // Brings the window's modified marker in line with the document.
    void SyncModified();
    // Closes without asking (after a profile data error, or when the owner decided).
    void CloseWithoutSaving();
    // The profile contradicts what a view needs: keeps unsaved changes in the recovered folder,
    // tells the user (naming that file) and closes without saving.
    void ReportProfileDataError();

    // Undo and Redo: the shown view's pending input is taken first (nothing happens when it
    // refuses), then the profile goes back to (or forward to) the state of a step, the tree is
    // rebuilt and the node shown before (or its nearest surviving parent) is selected again.
    void Undo();
    void Redo();
    CProfileUndoStack& UndoStack() const { return *m_undo; }
    // Ends an open label edit in the tree and has the shown view take its pending input; false
    // when either refuses (the command that asked is then dropped).
    bool CommitPendingInput();
    // The tree's commands, for the menus: on the selected node, as far as CommandState allows.
    const CCommandState& CommandState() const;
    void AddForSelected();
    void ScanAdd();  // commits the pending input first
    void DeleteSelected();
    void RenameSelected();
    void FocusTree();
    // The find box: narrows the tree to the contacts and messages matching its text.
    CTreeFindBar* FindBar() const { return m_find; }
    void ActivateFind();
    // Every tree label in line with the profile (before a report shows the profile as it is).
    void ResyncLabels();

    // IViewHost
    CQMVVLTDoc& Document() override { return *m_document; }
    CurrentNode Current() const override { return m_current; }
    IViewUi& Ui() override { return m_ui; }
    void NotifyAllViews(const ChangeNotice& notice) override;
    void MarkModified() override;
    void DescribeChange(const std::string& description) override;
    void ReportFailure(const CQMVVLTException& e) override;
    int ValidateView() override;
    void ShowView(int kind, int position, const std::string& suffix = {}) override;
    void PostFocusFirstField(int kind) override;
    void ControlFocused(const std::string& viewClass, int ctrlId) override;
    void SetStatusText(const std::string& text) override;

  signals:
    // A view's text for the status bar.
    void statusTextChanged(const QString& text);

  signals:
    // Undo steps were added, undone or redone.
    void undoStateChanged();
    // What the tree's selected node allows changed (CommandState).
    void commandStateChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void DropView();
    void RestoreProfile(const CProfileSnapshot& snapshot);
    // Around a replacement of the document's profile: the shown view goes first (it holds the old
    // profile's data items); then the tree is rebuilt, its expanded nodes and the node shown before
    // (or its nearest surviving parent) are brought back, and that node's view shows.
    void ProfileReplacing();
    void ProfileReplaced();
    // The name of a step nobody named, from the node shown.
    QString DescribeShownNode() const;
    void ApplyFilter();
    void ScheduleFilter();

    std::unique_ptr<CQMVVLTDoc> m_document;
    const CAppSettings& m_settings;
    IViewUi& m_ui;
    IFrameOwner& m_owner;
    CQMVVLTTreeView* m_tree = nullptr;
    CTreeFindBar* m_find = nullptr;
    CProfileUndoStack* m_undo = nullptr;
    bool m_filterScheduled = false;
    QSplitter* m_split = nullptr;
    QSplitter* m_right = nullptr;
    QWidget* m_viewHolder = nullptr;
    QPointer<CBaseView> m_view;
    CHelpPane* m_help = nullptr;
    CurrentNode m_current;
    struct KeptPlace;
    std::unique_ptr<KeptPlace> m_kept;  // the tree's state, across a replacement of the profile
    int m_helpHeight = 150;
    bool m_closingUnasked = false;
    int m_untitledNumber = 0;
};
