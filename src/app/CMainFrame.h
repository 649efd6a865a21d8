#pragma once

#include <QMainWindow>
#include <QPointer>
#include <filesystem>
#include <map>
#include <memory>

#include "IFrameOwner.h"

class CAppSettings;
class CChildFrame;
class CRadioCommands;
class CRegisterCommands;
class CStationWindow;
class CVirtualCodeplug;
class IPortLister;
class IAppUi;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

// The program's main window: the profile windows in an MDI area, the menus, toolbar and status
// bar, the enabling of the commands, and the document commands (new, open, save, close).
class CMainFrame : public QMainWindow, public IFrameOwner {
    Q_OBJECT
  public:
    // Command ids of the menus and the toolbar.
    enum Command : int {
        kNew = 57600,
        kOpen = 57601,
        kClose = 57602,
        kSave = 57603,
        kSaveAs = 57604,
        kExit = 57665,
        kUndo = 57643,
        kRedo = 57644,
        kFind = 57636,
        kAdd = 32771,
        kScanAdd = 32802,
        kCut = 57635,
        kCopy = 57634,
        kPaste = 57637,
        kDelete = 32772,
        kRename = 32773,
        kDealerInfo = 32774,
        kPreference = 32775,
        kHelpPane = 220,
        kToolbar = 59392,
        kStatusBar = 59393,
        kRead = 32776,
        kWrite = 32777,
        kReset = 32778,
        kOpenBackupFolder = 32790,
        kReport = 32779,
        kCascade = 57650,
        kTile = 57651,
        kTabbed = 31000,
        kHelpContents = 32780,
        kAbout = 57664,
        kImportContacts = 34440,
        kExportContacts = 34441,
        kCompareWithRadio = 34442,
        kRegister = 34445,
        kProgrammingStation = 34446,
    };

    // ui: the answers to questions (message boxes when null); ports: the system's serial ports
    // (the real ones when null).
    CMainFrame(CAppSettings& settings, std::filesystem::path installPath, IAppUi* ui = nullptr,
               const IPortLister* ports = nullptr);
    ~CMainFrame() override;

    QAction* Action(int commandId) const;
    QMenu* LanguageMenu() const { return m_languageMenu; }
    QMdiArea* MdiArea() const { return m_mdi; }
    CChildFrame* ActiveFrame() const;
    QList<CChildFrame*> Frames() const;
    QLabel* PortPane() const { return m_portPane; }
    // Status-bar pane 1: the port (or what a transfer is doing), also for screen readers.
    void ShowPort(const QString& text);
    IAppUi& Ui() { return *m_ui; }
    CAppSettings& Settings() { return m_settings; }
    CRadioCommands& Radio() { return *m_radio; }
    CRegisterCommands& RegisterCommands() { return *m_registerCommands; }
    const std::filesystem::path& InstallPath() const { return m_installPath; }

    // A new profile window for an image read from a radio (titled with the radio's PID).
    bool NewDocumentFromImage(const CVirtualCodeplug& image);
    // Replaces frame's profile with an image read from a radio.
    bool ReplaceDocument(CChildFrame& frame, const CVirtualCodeplug& image);
    void ShowPreferences();
    // The programming station window for the active profile (the open one when there is one).
    void ShowStation();
    CStationWindow* StationWindow() const;
    // Opens the folder of the backups made before writes in the desktop's file manager.
    void OpenBackupFolder();

    // Shows a document in a new profile window; null when the window could not show it (the
    // user was told why).
    CChildFrame* AddFrame(std::unique_ptr<class CQMVVLTDoc> document);
    // Opens a profile (or activates its window when it is open); false when it was refused.
    bool OpenDocument(const std::string& path);
    bool NewDocument();
    // Files dropped on the window: the profiles among them open.
    void OpenDroppedFiles(const QList<QUrl>& urls);
    bool SaveDocument(CChildFrame& frame);
    bool SaveDocumentAs(CChildFrame& frame);
    void ChooseLanguage(const std::string& key);
    void ShowHelpContents();
    // The Report command: commits the shown view, then lets the user choose and see a report.
    void ShowReports();
    // Where report pages are written: the user's cache folder.
    static std::filesystem::path ReportPageFolder();
    // Recomputes which commands are enabled.
    void UpdateCommands();

    // IFrameOwner
    bool MaybeSave(CChildFrame& frame) override;
    bool MayClose(const CChildFrame& frame) const override;
    void FrameChanged(CChildFrame& frame) override;

  signals:
    // A profile window was added and shows its document.
    void frameAdded(CChildFrame* frame);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QAction* AddCommand(QMenu* menu, int commandId, int textId);
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildLanguageMenu(QMenu* edit);
    void UpdateRecentFiles();
    // Undo and Redo: enabled, and named after their step, for the active window.
    void UpdateUndoCommands();
    void UpdateTitle();
    void WatchFocus(QWidget* old, QWidget* now);
    CChildFrame* FrameFor(const std::filesystem::path& canonical) const;
    void SetHelpPaneShown(bool shown);
    QString FileFilter() const;

    CAppSettings& m_settings;
    std::filesystem::path m_installPath;
    std::unique_ptr<IAppUi> m_ownUi;
    IAppUi* m_ui;
    std::unique_ptr<IPortLister> m_ownPorts;
    const IPortLister* m_ports;
    std::unique_ptr<CRadioCommands> m_radio;
    std::unique_ptr<class CContactCsvCommands> m_contactCsv;
    // After the radio commands: the register window uses their register.
    std::unique_ptr<CRegisterCommands> m_registerCommands;
    QPointer<CStationWindow> m_station;  // the programming station window, while it is open
    QMdiArea* m_mdi = nullptr;
    std::map<int, QAction*> m_actions;
    QMenu* m_languageMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QAction* m_reportMenu = nullptr;
    QAction* m_windowMenu = nullptr;
    QLabel* m_portPane = nullptr;
    std::string m_selectedLanguage;
    bool m_helpPaneShown = false;
    QMetaObject::Connection m_selectionWatch;
};
