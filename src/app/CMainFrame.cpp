#include "CMainFrame.h"

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
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <functional>

#include "CAboutDialog.h"
#include "CAppSettings.h"
#include "CChildFrame.h"
#include "CContactCsvCommands.h"
#include "CDealerInfoDialog.h"
#include "CDocumentCommands.h"
#include "CEditCommandRouter.h"
#include "CHelpPane.h"
#include "CMainMenus.h"
#include "CMessageBoxUi.h"
#include "CProgramCommands.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CQtPortLister.h"
#include "CRadioCommands.h"
#include "CRecentFiles.h"
#include "CRegisterCommands.h"
#include "CStationWindow.h"
#include "CommandEnabling.h"
#include "DialogText.h"
#include "LanguageMenu.h"
#include "LanguageResources.h"
#include "MessageStyle.h"
#include "Utility.h"

using namespace MainCommand;

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
    m_helpPaneShown = Utility::GetContextHelpFlag() == 1;

    BuildStatusBar();
    m_documents = std::make_unique<CDocumentCommands>(*this);
    m_program = std::make_unique<CProgramCommands>(*this, *m_ports);
    m_radio = std::make_unique<CRadioCommands>(*this, *m_ports);
    m_contactCsv = std::make_unique<CContactCsvCommands>(*this);
    m_registerCommands = std::make_unique<CRegisterCommands>(*this, *m_radio);
    if (auto* own = dynamic_cast<CMessageBoxUi*>(m_ownUi.get())) {
        own->SetPidReader([this] { return m_radio->ReadPrivateId(); });
    }
    m_menus = new CMainMenus(*this, m_helpPaneShown, LanguageMenuCommands(m_settings.Region()),
                             Utility::GetCurrentLanguage());
    WireCommands();
    ShowPort(QString::fromStdString(m_radio->CurrentPort()));
    connect(m_radio.get(), &CRadioCommands::runningChanged, this, &CMainFrame::UpdateCommands);
    setAcceptDrops(true);

    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        UpdateTitle();
        UpdateCommands();
        m_registerCommands->ActiveProfileChanged();
    });
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::WatchFocus);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::UpdateCommands);
    UpdateCommands();
}

CMainFrame::~CMainFrame() {
    // Destroying the profile windows moves the focus; no command update may run on a half-gone
    // window.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QApplication::clipboard(), nullptr, this, nullptr);
    disconnect(m_mdi, nullptr, this, nullptr);
    for (CChildFrame* frame : Frames()) {
        disconnect(frame, nullptr, this, nullptr);
    }
}

QAction* CMainFrame::Action(int commandId) const {
    return m_menus->Action(commandId);
}

QMenu* CMainFrame::LanguageMenu() const {
    return m_menus->LanguageMenu();
}

void CMainFrame::WireCommands() {
    // A command on the active profile window: a member of it, or a call that takes it.
    const auto onActive = [this](auto action) {
        return [this, action] {
            if (CChildFrame* frame = ActiveFrame()) {
                std::invoke(action, *frame);
            }
        };
    };
    const auto arranged = [this](void (QMdiArea::*arrange)()) {
        return [this, arrange] {
            m_mdi->setViewMode(QMdiArea::SubWindowView);
            Action(kTabbed)->setChecked(false);
            (m_mdi->*arrange)();
        };
    };
    const std::pair<int, std::function<void()>> handlers[] = {
        {kNew, [this] { m_documents->New(); }},
        {kOpen, [this] { m_documents->AskAndOpen(); }},
        {kClose, [this] { m_mdi->closeActiveSubWindow(); }},
        {kSave, onActive([this](CChildFrame& frame) { m_documents->Save(frame); })},
        {kSaveAs, onActive([this](CChildFrame& frame) { m_documents->SaveAs(frame); })},
        {kImportContacts, [this] { m_contactCsv->Import(); }},
        {kExportContacts, [this] { m_contactCsv->Export(); }},
        {kExit, [this] { close(); }},
        {kUndo, onActive(&CChildFrame::Undo)},
        {kRedo, onActive(&CChildFrame::Redo)},
        {kFind, onActive(&CChildFrame::ActivateFind)},
        {kAdd, onActive(&CChildFrame::AddForSelected)},
        {kScanAdd, onActive(&CChildFrame::ScanAdd)},
        {kCut, [] { CEditCommandRouter::Cut(QApplication::focusWidget()); }},
        {kCopy, [] { CEditCommandRouter::Copy(QApplication::focusWidget()); }},
        {kPaste, [] { CEditCommandRouter::Paste(QApplication::focusWidget()); }},
        {kDelete,
         [this] {
             QWidget* focus = QApplication::focusWidget();
             if (CEditCommandRouter::Evaluate(focus, false).editFocused) {
                 CEditCommandRouter::Clear(focus);
             } else if (CChildFrame* frame = ActiveFrame()) {
                 frame->DeleteSelected();
             }
         }},
        {kRename, onActive(&CChildFrame::RenameSelected)},
        // The dialog itself says so (kLanguageTypeError) when the dealer texts cannot be read.
        {kDealerInfo, [this] { CDealerInfoDialog(this).exec(); }},
        {kPreference, [this] { m_program->Preferences(m_portPane->text()); }},
        {kRead, [this] { m_radio->Read(); }},
        {kWrite, [this] { m_radio->Write(); }},
        {kReset, [this] { m_radio->Reset(); }},
        {kOpenBackupFolder, [this] { m_program->OpenBackupFolder(); }},
        {kCompareWithRadio, [this] { m_radio->CompareWithRadio(); }},
        {kRegister, [this] { m_registerCommands->Show(); }},
        {kProgrammingStation, [this] { ShowStation(); }},
        {kReport, [this] { m_documents->Report(); }},
        {kCascade, arranged(&QMdiArea::cascadeSubWindows)},
        {kTile, arranged(&QMdiArea::tileSubWindows)},
        {kHelpContents, [this] { m_program->HelpContents(); }},
        {kAbout, [this] { CAboutDialog(this).exec(); }},
    };
    for (const auto& [command, handler] : handlers) {
        connect(Action(command), &QAction::triggered, this, handler);
    }
    connect(Action(kHelpPane), &QAction::toggled, this, &CMainFrame::SetHelpPaneShown);
    connect(Action(kTabbed), &QAction::toggled, this, [this](bool on) {
        m_mdi->setViewMode(on ? QMdiArea::TabbedView : QMdiArea::SubWindowView);
    });
    connect(m_menus, &CMainMenus::languageChosen, this,
            [this](const std::string& key) { m_program->ChooseLanguage(key); });
    connect(m_menus, &CMainMenus::recentFileChosen, this, [this](const std::string& path) {
        if (!m_documents->Open(path)) {
            CRecentFiles::Remove(path);
        }
    });
}

void CMainFrame::BuildStatusBar() {
    statusBar()->showMessage(DialogText(MessageId::kReady));
    m_portPane = new QLabel(this);
    m_portPane->setAccessibleName(DialogText(MessageId::kCommunicationPort));
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

void CMainFrame::ShowStatus(const QString& text) {
    statusBar()->showMessage(text);
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

CChildFrame* CMainFrame::AddFrame(std::unique_ptr<CQMVVLTDoc> document) {
    auto* frame = new CChildFrame(
        std::move(document), m_settings,
        CHelpPane::HelpFolders(Utility::GetHelpFilePath(),
                               Utility::GetHelpFilePathOf(kBuiltInLanguage), m_installPath),
        *m_ui, *this);
    connect(frame, &CChildFrame::undoStateChanged, this, &CMainFrame::UpdateCommands);
    connect(frame, &CChildFrame::commandStateChanged, this, &CMainFrame::UpdateCommands);
    QMdiSubWindow* sub = m_mdi->addSubWindow(frame);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    frame->SetHelpPaneShown(m_helpPaneShown);
    connect(frame, &CChildFrame::statusTextChanged, this,
            [this](const QString& text) { ShowStatus(text); });
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

bool CMainFrame::NewDocumentFromImage(const CVirtualCodeplug& image) {
    return m_documents->NewFromImage(image);
}

bool CMainFrame::ReplaceDocument(CChildFrame& frame, const CVirtualCodeplug& image) {
    return m_documents->Replace(frame, image);
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

bool CMainFrame::MaybeSave(CChildFrame& frame) {
    return m_documents->MaybeSave(frame);
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
    CommandConditions now;
    now.frame = ActiveFrame();
    now.anyFrame = !m_mdi->subWindowList().isEmpty();
    now.radioIdle = !m_radio->Running();
    now.edit = CEditCommandRouter::Evaluate(QApplication::focusWidget(),
                                            !QApplication::clipboard()->text().isEmpty());
    EnableCommands(*m_menus, now);
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
        if (CDocumentCommands::IsProfile(url)) {
            event->acceptProposedAction();
            return;
        }
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    m_documents->OpenDropped(event->mimeData()->urls());
    event->acceptProposedAction();
}
