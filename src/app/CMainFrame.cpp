#include "CMainFrame.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "CAboutDialog.h"
#include "CAppSettings.h"
#include "CChildFrame.h"
#include "CCommandState.h"
#include "CContactCsvCommands.h"
#include "CDealerInfoDialog.h"
#include "CEditCommandRouter.h"
#include "CHelpPane.h"
#include "CMessageBoxUi.h"
#include "CPreferenceDialog.h"
#include "CProfileUndoStack.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CQtPortLister.h"
#include "CRadioBackup.h"
#include "CRadioCommands.h"
#include "CRecentFiles.h"
#include "CRegisterCommands.h"
#include "CReportOptionDlg.h"
#include "CStationWindow.h"
#include "LanguageMenu.h"
#include "LanguageResources.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"
#include "Utility.h"

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadString(id));
}

// The desktop theme's icon where it has a fitting one, else our own, else the style's.
QIcon ToolIcon(const char* theme, const char* own, QStyle::StandardPixmap fallback) {
    const QString resource = QStringLiteral(":/icons/toolbar/%1.svg").arg(QLatin1String(own));
    const QIcon ownIcon = QFileInfo::exists(resource)
                              ? QIcon(resource)
                              : QApplication::style()->standardIcon(fallback);
    return QIcon::fromTheme(QLatin1String(theme), ownIcon);
}

constexpr const char* kLam = ".lam";

}  // namespace

CMainFrame::CMainFrame(CAppSettings& settings, std::filesystem::path installPath, IAppUi* ui,
                       const IPortLister* ports)
    : m_settings(settings), m_installPath(std::move(installPath)) {
    if (!ui) {
        m_ownUi = std::make_unique<CMessageBoxUi>(this);
        ui = m_ownUi.get();
    }
    m_ui = ui;
    if (!ports) {
        m_ownPorts = std::make_unique<CQtPortLister>();
        ports = m_ownPorts.get();
    }
    m_ports = ports;
    setWindowTitle(QString::fromLatin1(kApplicationName));
    const QString appIcon = QStringLiteral(":/icons/app.svg");
    setWindowIcon(QIcon::fromTheme(QStringLiteral("qmvvlt"),
                                   QFileInfo::exists(appIcon) ? QIcon(appIcon) : QIcon()));
    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setTabsClosable(true);
    m_mdi->setTabsMovable(true);
    setCentralWidget(m_mdi);
    m_selectedLanguage = Utility::GetCurrentLanguage();
    m_helpPaneShown = Utility::GetContextHelpFlag() == 1;

    BuildStatusBar();
    m_radio = std::make_unique<CRadioCommands>(*this, *m_ports);
    m_contactCsv = std::make_unique<CContactCsvCommands>(*this);
    m_registerCommands = std::make_unique<CRegisterCommands>(*this);
    if (auto* own = dynamic_cast<CMessageBoxUi*>(m_ownUi.get())) {
        own->SetPidReader([this] { return m_radio->ReadPrivateId(); });
    }
    BuildMenus();
    BuildToolBar();
    ShowPort(QString::fromStdString(m_radio->CurrentPort()));
    connect(m_radio.get(), &CRadioCommands::runningChanged, this, &CMainFrame::UpdateCommands);
    setAcceptDrops(true);

    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        UpdateTitle();
        UpdateCommands();
    });
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::WatchFocus);
    connect(&CCommandState::Instance(), &CCommandState::changed, this, &CMainFrame::UpdateCommands);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateCommands);
    UpdateCommands();
}

CMainFrame::~CMainFrame() {
    // Destroying the profile windows moves the focus; no command update may run on a half-gone
    // window.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(&CCommandState::Instance(), nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    disconnect(m_mdi, nullptr, this, nullptr);
}

QAction* CMainFrame::Action(int commandId) const {
    const auto it = m_actions.find(commandId);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* CMainFrame::AddCommand(QMenu* menu, int commandId, int textId) {
    // Menu texts carry their shortcut after a tab, so a language file can change both.
    const QStringList parts = Text(textId).split(QLatin1Char('\t'));
    auto* action = new QAction(parts.value(0), this);
    if (parts.size() > 1) {
        action->setShortcut(QKeySequence(parts.at(1)));
    }
    action->setProperty("ctrlId", commandId);
    if (menu) {
        menu->addAction(action);
    }
    m_actions[commandId] = action;
    return action;
}

void CMainFrame::BuildMenus() {
    QMenu* file = menuBar()->addMenu(Text(MessageId::kFile));
    connect(AddCommand(file, kNew, MessageId::kMenuNew), &QAction::triggered, this,
            [this] { NewDocument(); });
    connect(AddCommand(file, kOpen, MessageId::kMenuOpen), &QAction::triggered, this, [this] {
        if (const auto path = m_ui->AskOpenPath(FileFilter())) {
            OpenDocument(*path);
        }
    });
    connect(AddCommand(file, kClose, MessageId::kClose), &QAction::triggered, m_mdi,
            &QMdiArea::closeActiveSubWindow);
    connect(AddCommand(file, kSave, MessageId::kMenuSave), &QAction::triggered, this, [this] {
        if (CChildFrame* frame = ActiveFrame()) {
            SaveDocument(*frame);
        }
    });
    connect(AddCommand(file, kSaveAs, MessageId::kMenuSaveAs), &QAction::triggered, this, [this] {
        if (CChildFrame* frame = ActiveFrame()) {
            SaveDocumentAs(*frame);
        }
    });
    file->addSeparator();
    connect(AddCommand(file, kImportContacts, MessageId::kImportContactsMenu), &QAction::triggered,
            this, [this] { m_contactCsv->Import(); });
    connect(AddCommand(file, kExportContacts, MessageId::kExportContactsMenu), &QAction::triggered,
            this, [this] { m_contactCsv->Export(); });
    file->addSeparator();
    m_recentMenu = file->addMenu(Text(MessageId::kRecentFile));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentFiles);
    UpdateRecentFiles();
    file->addSeparator();
    connect(AddCommand(file, kExit, MessageId::kMenuExit), &QAction::triggered, this,
            &QWidget::close);

    QMenu* edit = menuBar()->addMenu(Text(MessageId::kEdit));
    const auto withFrame = [this](auto method) {
        return [this, method] {
            if (CChildFrame* frame = ActiveFrame()) {
                (frame->*method)();
            }
        };
    };
    connect(AddCommand(edit, kUndo, MessageId::kUndoMenu), &QAction::triggered, this, [this] {
        if (CChildFrame* frame = ActiveFrame()) {
            frame->Undo();
        }
    });
    QAction* redo = AddCommand(edit, kRedo, MessageId::kRedoMenu);
    redo->setShortcuts({redo->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redo, &QAction::triggered, this, [this] {
        if (CChildFrame* frame = ActiveFrame()) {
            frame->Redo();
        }
    });
    connect(AddCommand(edit, kFind, MessageId::kFindMenu), &QAction::triggered, this, [this] {
        if (CChildFrame* frame = ActiveFrame()) {
            frame->ActivateFind();
        }
    });
    edit->addSeparator();
    connect(AddCommand(edit, kAdd, MessageId::kAddMenu), &QAction::triggered, this,
            withFrame(&CChildFrame::AddForSelected));
    connect(AddCommand(edit, kScanAdd, MessageId::kScanAddMenu), &QAction::triggered, this,
            withFrame(&CChildFrame::ScanAdd));
    edit->addSeparator();
    connect(AddCommand(edit, kCut, MessageId::kMenuCut), &QAction::triggered, this,
            [] { CEditCommandRouter::Cut(QApplication::focusWidget()); });
    connect(AddCommand(edit, kCopy, MessageId::kMenuCopy), &QAction::triggered, this,
            [] { CEditCommandRouter::Copy(QApplication::focusWidget()); });
    connect(AddCommand(edit, kPaste, MessageId::kMenuPaste), &QAction::triggered, this,
            [] { CEditCommandRouter::Paste(QApplication::focusWidget()); });
    connect(AddCommand(edit, kDelete, MessageId::kDeleteMenu), &QAction::triggered, this, [this] {
        QWidget* focus = QApplication::focusWidget();
        if (CEditCommandRouter::Evaluate(focus, false).editFocused) {
            CEditCommandRouter::Clear(focus);
        } else if (CChildFrame* frame = ActiveFrame()) {
            frame->DeleteSelected();
        }
    });
    connect(AddCommand(edit, kRename, MessageId::kRenameMenu), &QAction::triggered, this,
            withFrame(&CChildFrame::RenameSelected));
    edit->addSeparator();
    QAction* dealer = AddCommand(edit, kDealerInfo, MessageId::kMenuDealerInfo);
    connect(AddCommand(edit, kPreference, MessageId::kMenuPreference), &QAction::triggered, this,
            &CMainFrame::ShowPreferences);
    // The dialog itself says so (kLanguageTypeError) when the dealer texts cannot be read.
    connect(dealer, &QAction::triggered, this, [this] { CDealerInfoDialog(this).exec(); });
    QAction* helpPane = AddCommand(nullptr, kHelpPane, MessageId::kMenuHelpPane);
    helpPane->setCheckable(true);
    helpPane->setChecked(m_helpPaneShown);
    helpPane->setStatusTip(Text(MessageId::kShowOrHideHelp).section(QLatin1Char('\n'), 0, 0));
    connect(helpPane, &QAction::toggled, this, &CMainFrame::SetHelpPaneShown);
    edit->addAction(helpPane);
    BuildLanguageMenu(edit);

    QMenu* view = menuBar()->addMenu(Text(MessageId::kView));
    QAction* toolbar = AddCommand(view, kToolbar, MessageId::kToolbar);
    QAction* status = AddCommand(view, kStatusBar, MessageId::kMenuStatusBar);
    for (QAction* toggle : {toolbar, status}) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
    }
    connect(status, &QAction::toggled, this, [this](bool on) { statusBar()->setVisible(on); });
    view->addAction(helpPane);

    QMenu* device = menuBar()->addMenu(Text(MessageId::kDevice));
    connect(AddCommand(device, kRead, MessageId::kMenuRead), &QAction::triggered, m_radio.get(),
            &CRadioCommands::Read);
    connect(AddCommand(device, kWrite, MessageId::kMenuWrite), &QAction::triggered, m_radio.get(),
            &CRadioCommands::Write);
    connect(AddCommand(device, kReset, MessageId::kMenuReset), &QAction::triggered, m_radio.get(),
            &CRadioCommands::Reset);
    device->addSeparator();
    connect(AddCommand(device, kOpenBackupFolder, MessageId::kOpenBackupFolder),
            &QAction::triggered, this, &CMainFrame::OpenBackupFolder);
    connect(AddCommand(device, kCompareWithRadio, MessageId::kCompareWithRadioMenu),
            &QAction::triggered, m_radio.get(), &CRadioCommands::CompareWithRadio);
    connect(AddCommand(device, kRegister, MessageId::kRegisterMenu), &QAction::triggered,
            m_registerCommands.get(), &CRegisterCommands::Show);
    connect(AddCommand(device, kProgrammingStation, MessageId::kStationMenu), &QAction::triggered,
            this, &CMainFrame::ShowStation);

    // The menu bar's Report item is the command itself; the toolbar shows it with its icon.
    QAction* report = AddCommand(nullptr, kReport, MessageId::kMenuReport);
    m_reportMenu = menuBar()->addAction(report->text());
    connect(m_reportMenu, &QAction::triggered, report, &QAction::trigger);
    connect(report, &QAction::enabledChanged, m_reportMenu, &QAction::setEnabled);
    connect(report, &QAction::triggered, this, &CMainFrame::ShowReports);

    QMenu* window = menuBar()->addMenu(Text(MessageId::kWindow));
    m_windowMenu = window->menuAction();
    connect(AddCommand(window, kCascade, MessageId::kMenuCascade), &QAction::triggered, this,
            [this] {
                m_mdi->setViewMode(QMdiArea::SubWindowView);
                Action(kTabbed)->setChecked(false);
                m_mdi->cascadeSubWindows();
            });
    connect(AddCommand(window, kTile, MessageId::kMenuTile), &QAction::triggered, this, [this] {
        m_mdi->setViewMode(QMdiArea::SubWindowView);
        Action(kTabbed)->setChecked(false);
        m_mdi->tileSubWindows();
    });
    QAction* tabbed = AddCommand(window, kTabbed, MessageId::kMenuTabbedWindows);
    tabbed->setCheckable(true);
    connect(tabbed, &QAction::toggled, this, [this](bool on) {
        m_mdi->setViewMode(on ? QMdiArea::TabbedView : QMdiArea::SubWindowView);
    });

    QMenu* help = menuBar()->addMenu(Text(MessageId::kHelp));
    connect(AddCommand(help, kHelpContents, MessageId::kMenuHelpContents), &QAction::triggered,
            this, &CMainFrame::ShowHelpContents);
    QAction* about = AddCommand(help, kAbout, MessageId::kAboutMenu);
    about->setText(QString::fromStdString(
        CStringTable::Instance().Format(MessageId::kAboutMenu, {kApplicationName})));
    connect(about, &QAction::triggered, this, [this] { CAboutDialog(this).exec(); });
}

void CMainFrame::BuildLanguageMenu(QMenu* edit) {
    const auto commands = LanguageMenuCommands(m_settings.Region());
    if (commands.empty()) {
        return;
    }
    m_languageMenu = edit->addMenu(Text(MessageId::kLanguage));
    auto* group = new QActionGroup(this);
    for (const auto& command : commands) {
        auto* action = m_languageMenu->addAction(QString::fromStdString(command.displayName));
        action->setCheckable(true);
        action->setChecked(command.key == m_selectedLanguage);
        action->setProperty("ctrlId", command.commandId);
        action->setData(QString::fromStdString(command.key));
        group->addAction(action);
        m_actions[command.commandId] = action;
        connect(action, &QAction::triggered, this,
                [this, key = command.key] { ChooseLanguage(key); });
    }
}

void CMainFrame::BuildToolBar() {
    QToolBar* bar = addToolBar(Text(MessageId::kToolbar).remove(QLatin1Char('&')));
    bar->setObjectName(QStringLiteral("MainToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(16, 16));
    struct Button {
        int command;
        int textId;
        const char* theme;
        const char* own;
        QStyle::StandardPixmap fallback;
    };
    const Button buttons[] = {
        {kNew, MessageId::kToolNew, "document-new", "new", QStyle::SP_FileIcon},
        {kOpen, MessageId::kToolOpen, "document-open", "open", QStyle::SP_DialogOpenButton},
        {kSave, MessageId::kToolSave, "document-save", "save", QStyle::SP_DialogSaveButton},
        {0, 0, nullptr, nullptr, QStyle::SP_CustomBase},
        {kAdd, MessageId::kToolAdd, "list-add", "add", QStyle::SP_FileDialogNewFolder},
        {kScanAdd, MessageId::kMenuScan, "scanner", "scan", QStyle::SP_BrowserReload},
        {kDelete, MessageId::kToolDelete, "edit-delete", "delete", QStyle::SP_TrashIcon},
        {0, 0, nullptr, nullptr, QStyle::SP_CustomBase},
        {kCut, MessageId::kToolCut, "edit-cut", "cut", QStyle::SP_ArrowRight},
        {kCopy, MessageId::kToolCopy, "edit-copy", "copy", QStyle::SP_FileDialogContentsView},
        {kPaste, MessageId::kToolPaste, "edit-paste", "paste", QStyle::SP_ArrowDown},
        {0, 0, nullptr, nullptr, QStyle::SP_CustomBase},
        {kRead, MessageId::kToolRead, "go-down", "read", QStyle::SP_ArrowDown},
        {kWrite, MessageId::kToolWrite, "go-up", "write", QStyle::SP_ArrowUp},
        {0, 0, nullptr, nullptr, QStyle::SP_CustomBase},
        {kReport, MessageId::kToolReport, "document-print", "print",
         QStyle::SP_FileDialogDetailedView},
        {kAbout, MessageId::kToolAbout, "help-about", "help", QStyle::SP_MessageBoxInformation},
    };
    for (const Button& button : buttons) {
        if (button.command == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* action = Action(button.command);
        action->setIcon(ToolIcon(button.theme, button.own, button.fallback));
        action->setIconText(Text(button.textId));
        action->setToolTip(Text(button.textId));
        bar->addAction(action);
    }
    connect(Action(kToolbar), &QAction::toggled, bar, &QToolBar::setVisible);
}

void CMainFrame::BuildStatusBar() {
    statusBar()->showMessage(Text(MessageId::kReady));
    m_portPane = new QLabel(this);
    m_portPane->setAccessibleName(Text(MessageId::kCommunicationPort));
    ShowPort(QString::fromStdString(Utility::GetCurrentComPort()));
    m_portPane->setFrameShape(QFrame::StyledPanel);
    m_portPane->setMinimumWidth(120);
    statusBar()->addPermanentWidget(m_portPane);
}

void CMainFrame::ShowPort(const QString& text) {
    m_portPane->setText(text);
    // The pane's name says what it is; a screen reader reads the port from its description.
    m_portPane->setAccessibleDescription(text);
}

void CMainFrame::UpdateRecentFiles() {
    m_recentMenu->clear();
    int number = 1;
    for (const std::string& path : CRecentFiles::Entries()) {
        QAction* action = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(QString::fromStdString(path)));
        connect(action, &QAction::triggered, this, [this, path] {
            if (!OpenDocument(path)) {
                CRecentFiles::Remove(path);
            }
        });
    }
    m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

CChildFrame* CMainFrame::ActiveFrame() const {
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    if (!sub && !m_mdi->subWindowList().isEmpty()) {
        sub = m_mdi->currentSubWindow();
    }
    return sub ? qobject_cast<CChildFrame*>(sub->widget()) : nullptr;
}

QList<CChildFrame*> CMainFrame::Frames() const {
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (auto* frame = qobject_cast<CChildFrame*>(sub->widget())) {
            frames << frame;
        }
    }
    return frames;
}

CChildFrame* CMainFrame::FrameFor(const std::filesystem::path& canonical) const {
    for (CChildFrame* frame : Frames()) {
        std::error_code ec;
        const auto& path = frame->Document().Path();
        if (!path.empty() && std::filesystem::weakly_canonical(path, ec) == canonical) {
            return frame;
        }
    }
    return nullptr;
}

QString CMainFrame::FileFilter() const {
    return QStringLiteral("%1 %2 (*%3);;%4 (*)")
        .arg(QString::fromLatin1(kApplicationName), Text(MessageId::kFiles), QLatin1String(kLam),
             Text(MessageId::kAllFiles));
}

bool CMainFrame::OpenDocument(const std::string& path) {
    std::error_code ec;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
    if (ec) {
        canonical = path;
    }
    if (CChildFrame* open = FrameFor(canonical)) {
        m_mdi->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(open->parentWidget()));
        return true;
    }
    auto document = std::make_unique<CQMVVLTDoc>(m_settings, m_installPath, *m_ui);
    if (!document->Open(canonical)) {
        return false;
    }
    AddFrame(std::move(document));
    CRecentFiles::Add(canonical.string());
    return true;
}

bool CMainFrame::NewDocument() {
    const auto name = m_ui->AskTemplate(m_installPath);
    if (!name) {
        return false;
    }
    auto document = std::make_unique<CQMVVLTDoc>(m_settings, m_installPath, *m_ui);
    if (!document->NewFromTemplate(*name)) {
        return false;
    }
    AddFrame(std::move(document));
    return true;
}

CChildFrame* CMainFrame::AddFrame(std::unique_ptr<CQMVVLTDoc> document) {
    auto* frame = new CChildFrame(
        std::move(document), m_settings,
        CHelpPane::HelpFolders(Utility::GetHelpFilePath(),
                               Utility::GetHelpFilePathOf(kBuiltInLanguage), m_installPath),
        *m_ui, *this);
    connect(frame, &CChildFrame::undoStateChanged, this, &CMainFrame::UpdateCommands);
    QMdiSubWindow* sub = m_mdi->addSubWindow(frame);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    frame->SetHelpPaneShown(m_helpPaneShown);
    connect(frame, &CChildFrame::statusTextChanged, this,
            [this](const QString& text) { statusBar()->showMessage(text); });
    try {
        frame->InitialUpdate();
    } catch (const CQMVVLTException& e) {
        m_ui->ShowError(e.Code(), e.Trace());
        frame->CloseWithoutSaving();
        return nullptr;
    }
    sub->showMaximized();
    frame->FocusTree();
    UpdateTitle();
    UpdateCommands();
    emit frameAdded(frame);
    return frame;
}

void CMainFrame::ShowReports() {
    CChildFrame* frame = ActiveFrame();
    if (!frame || !frame->CommitPendingInput()) {
        return;
    }
    // The report shows the profile as it now is; the tree says the same.
    frame->ResyncLabels();
    try {
        CReportOptionDlg dialog(frame->Document(), m_installPath, ReportPageFolder(), *m_ui, this);
        dialog.exec();
    } catch (const CQMVVLTException& e) {
        m_ui->ShowError(e.Code(), e.Trace());
    }
}

std::filesystem::path CMainFrame::ReportPageFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation).toStdString();
}

bool CMainFrame::NewDocumentFromImage(const CVirtualCodeplug& image) {
    auto document = std::make_unique<CQMVVLTDoc>(m_settings, m_installPath, *m_ui);
    if (!document->NewFromVirtualCP(image)) {
        return false;
    }
    AddFrame(std::move(document));
    return true;
}

bool CMainFrame::ReplaceDocument(CChildFrame& frame, const CVirtualCodeplug& image) {
    try {
        frame.DescribeChange(LoadString(MessageId::kUndoRead));
        // The window follows the replaced profile by itself.
        frame.Document().SetVirtualCPData(image);
        frame.Document().SetModified(true);
    } catch (const CQMVVLTException& e) {
        m_ui->ShowError(e.Code(), e.Trace());
        return false;
    }
    return true;
}

void CMainFrame::ShowPreferences() {
    const QString shown = m_portPane->text();
    CPreferenceDialog dialog(
        *m_ports, [this](const QString& port) { ShowPort(port); }, this);
    if (dialog.exec() != QDialog::Accepted) {
        // Nothing was stored, so the pane goes back to the port the commands still use.
        ShowPort(shown);
    }
}

CStationWindow* CMainFrame::StationWindow() const {
    return m_station.data();
}

void CMainFrame::ShowStation() {
    if (!m_station) {
        CChildFrame* frame = ActiveFrame();
        if (!frame || !frame->CommitPendingInput()) {
            return;
        }
        try {
            m_station = CStationWindow::ForDocument(frame->Document(), m_settings, m_installPath,
                                                    *m_ports, this);
        } catch (const CQMVVLTException& e) {
            // A register address that cannot be used (RegisterUrl): the station records nothing.
            m_ui->ShowMessage(e.Message(), MessageStyle::kOk);
            return;
        }
    }
    m_station->show();
    m_station->raise();
    m_station->activateWindow();
}

void CMainFrame::OpenBackupFolder() {
    const std::filesystem::path folder = CRadioBackup::UserFolder();
    // The folder exists before the first backup, so the file manager has something to show.
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !m_ui->OpenUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string())))) {
        m_ui->ShowMessage(
            CStringTable::Instance().Format(MessageId::kFolderNotOpened, {folder.string()}),
            MessageStyle::kOk);
    }
}

bool CMainFrame::SaveDocument(CChildFrame& frame) {
    if (!frame.CommitPendingInput()) {
        return false;
    }
    if (frame.Document().Path().empty()) {
        return SaveDocumentAs(frame);
    }
    const bool saved = frame.Document().Save();
    frame.SyncModified();
    if (saved) {
        CRecentFiles::Add(frame.Document().Path().string());
    }
    return saved;
}

bool CMainFrame::SaveDocumentAs(CChildFrame& frame) {
    if (!frame.CommitPendingInput()) {
        return false;
    }
    const auto path = m_ui->AskSavePath(frame.Document().ProposedSaveName().string(), FileFilter());
    if (!path) {
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool saved = frame.Document().Save(*path);
    QApplication::restoreOverrideCursor();
    frame.SyncModified();
    if (saved) {
        CRecentFiles::Add(frame.Document().Path().string());
    }
    return saved;
}

bool CMainFrame::MaybeSave(CChildFrame& frame) {
    if (!frame.Document().IsModified()) {
        return true;
    }
    QString name = frame.DisplayName();
    name.remove(QStringLiteral("[*]"));
    switch (m_ui->AskSaveChanges(name)) {
        case MessageStyle::kIdNo:
            return true;
        case MessageStyle::kIdYes:
            return SaveDocument(frame);
        default:
            return false;
    }
}

bool CMainFrame::MayClose(const CChildFrame& /*frame*/) const {
    // A radio command holds on to the profile it works on, and may run an event loop of its own
    // (the short reads before a transfer) in which the window's buttons still work.
    return !m_radio->Running();
}

void CMainFrame::FrameChanged(CChildFrame& frame) {
    if (&frame == ActiveFrame()) {
        UpdateTitle();
    }
}

void CMainFrame::UpdateTitle() {
    CChildFrame* frame = ActiveFrame();
    if (!frame) {
        setWindowTitle(QString::fromLatin1(kApplicationName));
        setWindowModified(false);
        return;
    }
    setWindowTitle(
        QStringLiteral("%1 - %2").arg(QString::fromLatin1(kApplicationName), frame->DisplayName()));
    setWindowModified(frame->Document().IsModified());
}

void CMainFrame::SetHelpPaneShown(bool shown) {
    m_helpPaneShown = shown;
    for (CChildFrame* frame : Frames()) {
        frame->SetHelpPaneShown(shown);
    }
}

void CMainFrame::ChooseLanguage(const std::string& key) {
    const std::string running = Utility::GetCurrentLanguage();
    Utility::SetCurrentLanguage(key);
    m_selectedLanguage = key;
    if (running != key) {
        m_ui->Inform(MessageId::kYouHaveToRestart);
    }
}

void CMainFrame::ShowHelpContents() {
    const std::string path = HelpFileOrEnglish();
    if (path.empty()) {
        m_ui->Inform(MessageId::kHelpFileNotConfigured);
        return;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        m_ui->Inform(MessageId::kHelpFileMissing);
        return;
    }
    if (!m_ui->OpenUrl(QUrl::fromLocalFile(QString::fromStdString(path)))) {
        m_ui->Inform(MessageId::kErrorHelpFileFormat);
    }
}

void CMainFrame::WatchFocus(QWidget* /*old*/, QWidget* now) {
    disconnect(m_selectionWatch);
    if (auto* line = qobject_cast<QLineEdit*>(now)) {
        m_selectionWatch =
            connect(line, &QLineEdit::selectionChanged, this, &CMainFrame::UpdateCommands);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(now)) {
        m_selectionWatch =
            connect(plain, &QPlainTextEdit::selectionChanged, this, &CMainFrame::UpdateCommands);
    }
    UpdateCommands();
}

void CMainFrame::UpdateCommands() {
    const bool hasFrame = ActiveFrame() != nullptr;
    const bool anyFrame = !m_mdi->subWindowList().isEmpty();
    const EditCommandState edit = CEditCommandRouter::Evaluate(
        QApplication::focusWidget(), !QApplication::clipboard()->text().isEmpty());
    const CCommandState& flags = CCommandState::Instance();
    Action(kAdd)->setEnabled(hasFrame && flags.CanAdd());
    Action(kScanAdd)->setEnabled(hasFrame && flags.CanScanAdd());
    Action(kDelete)->setEnabled(edit.editFocused ? edit.clear : hasFrame && flags.CanDelete());
    Action(kRename)->setEnabled(hasFrame && flags.CanRename());
    UpdateUndoCommands();
    Action(kFind)->setEnabled(hasFrame);
    Action(kCut)->setEnabled(edit.cut);
    Action(kCopy)->setEnabled(edit.copy);
    Action(kPaste)->setEnabled(edit.paste);
    for (int command : {kClose, kSave, kSaveAs, kWrite, kReport, kImportContacts, kExportContacts,
                        kProgrammingStation}) {
        Action(command)->setEnabled(hasFrame);
    }
    // One radio command at a time.
    const bool radioIdle = !m_radio->Running();
    Action(kWrite)->setEnabled(hasFrame && radioIdle);
    Action(kCompareWithRadio)->setEnabled(hasFrame && radioIdle);
    Action(kRead)->setEnabled(radioIdle);
    Action(kReset)->setEnabled(radioIdle);
    Action(kPreference)->setEnabled(radioIdle);
    // Nor may anything close, replace or re-read what the radio command works on, or change the
    // language of the texts it shows.
    for (int command : {kNew, kOpen, kExit}) {
        Action(command)->setEnabled(radioIdle);
    }
    for (int command : {kClose, kReport}) {
        Action(command)->setEnabled(hasFrame && radioIdle);
    }
    m_recentMenu->setEnabled(radioIdle && !m_recentMenu->isEmpty());
    if (m_languageMenu) {
        m_languageMenu->setEnabled(radioIdle);
    }
    Action(kHelpPane)->setVisible(anyFrame);
    m_reportMenu->setVisible(anyFrame);
    m_windowMenu->setVisible(anyFrame);
}

void CMainFrame::UpdateUndoCommands() {
    const CChildFrame* frame = ActiveFrame();
    const CProfileUndoStack* stack = frame ? &frame->UndoStack() : nullptr;
    const struct {
        int command;
        bool enabled;
        QString step;
        int plainText;
        int namedText;
    } commands[] = {
        {kUndo, stack && stack->CanUndo(), stack ? stack->UndoText() : QString(),
         MessageId::kUndoMenu, MessageId::kUndoNamedMenu},
        {kRedo, stack && stack->CanRedo(), stack ? stack->RedoText() : QString(),
         MessageId::kRedoMenu, MessageId::kRedoNamedMenu},
    };
    for (const auto& c : commands) {
        QAction* action = Action(c.command);
        action->setEnabled(c.enabled);
        QString text = Text(c.plainText).section(QLatin1Char('\t'), 0, 0);
        if (c.enabled && !c.step.isEmpty()) {
            // A name's "&" is shown, not taken for a mnemonic.
            QString step = c.step;
            step.replace(QLatin1Char('&'), QLatin1String("&&"));
            text = QString::fromStdString(
                CStringTable::Instance().Format(c.namedText, {step.toStdString()}));
        }
        action->setText(text);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_radio->Running()) {
        event->ignore();
        return;
    }
    // A station job stops at a safe point first; the program closes once its window has gone.
    if (m_station && !m_station->close()) {
        connect(m_station.data(), &QObject::destroyed, this, &QWidget::close,
                static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
        event->ignore();
        return;
    }
    m_mdi->closeAllSubWindows();
    if (!m_mdi->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    Utility::SetContextHelpFlag(m_helpPaneShown ? 1 : 0);
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QLatin1String(kLam), Qt::CaseInsensitive)) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    OpenDroppedFiles(event->mimeData()->urls());
    event->acceptProposedAction();
}

void CMainFrame::OpenDroppedFiles(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QLatin1String(kLam), Qt::CaseInsensitive)) {
            OpenDocument(url.toLocalFile().toStdString());
        }
    }
}
