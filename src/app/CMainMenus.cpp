#include "CMainMenus.h"

#include <QActionGroup>
#include <QApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "CAppSettings.h"
#include "CRecentFiles.h"
#include "DialogText.h"
#include "MainCommand.h"

using namespace MainCommand;

namespace {

// Entries of a menu that are not a command of their own.
constexpr int kSeparator = 0;
constexpr int kRecentFiles = -1;
constexpr int kLanguages = -2;

struct Entry {
    int command;
    int textId;
};

struct Menu {
    int titleId;  // 0: the entry is a command on the menu bar itself
    std::vector<Entry> entries;
};

const std::vector<Menu>& MenuTable() {
    static const std::vector<Menu> menus = {
        {MessageId::kFile,
         {{kNew, MessageId::kMenuNew},
          {kOpen, MessageId::kMenuOpen},
          {kClose, MessageId::kClose},
          {kSave, MessageId::kMenuSave},
          {kSaveAs, MessageId::kMenuSaveAs},
          {kSeparator, 0},
          {kImportContacts, MessageId::kImportContactsMenu},
          {kExportContacts, MessageId::kExportContactsMenu},
          {kSeparator, 0},
          {kRecentFiles, MessageId::kRecentFile},
          {kSeparator, 0},
          {kExit, MessageId::kMenuExit}}},
        {MessageId::kEdit,
         {{kUndo, MessageId::kUndoMenu},
          {kRedo, MessageId::kRedoMenu},
          {kFind, MessageId::kFindMenu},
          {kSeparator, 0},
          {kAdd, MessageId::kAddMenu},
          {kScanAdd, MessageId::kScanAddMenu},
          {kSeparator, 0},
          {kCut, MessageId::kMenuCut},
          {kCopy, MessageId::kMenuCopy},
          {kPaste, MessageId::kMenuPaste},
          {kDelete, MessageId::kDeleteMenu},
          {kRename, MessageId::kRenameMenu},
          {kSeparator, 0},
          {kDealerInfo, MessageId::kMenuDealerInfo},
          {kPreference, MessageId::kMenuPreference},
          {kHelpPane, MessageId::kMenuHelpPane},
          {kLanguages, MessageId::kLanguage}}},
        {MessageId::kView,
         {{kToolbar, MessageId::kToolbar},
          {kStatusBar, MessageId::kMenuStatusBar},
          {kHelpPane, MessageId::kMenuHelpPane}}},
        {MessageId::kDevice,
         {{kRead, MessageId::kMenuRead},
          {kWrite, MessageId::kMenuWrite},
          {kReset, MessageId::kMenuReset},
          {kSeparator, 0},
          {kOpenBackupFolder, MessageId::kOpenBackupFolder},
          {kCompareWithRadio, MessageId::kCompareWithRadioMenu},
          {kRegister, MessageId::kRegisterMenu},
          {kProgrammingStation, MessageId::kStationMenu}}},
        {0, {{kReport, MessageId::kMenuReport}}},
        {MessageId::kWindow,
         {{kCascade, MessageId::kMenuCascade},
          {kTile, MessageId::kMenuTile},
          {kTabbed, MessageId::kMenuTabbedWindows}}},
        {MessageId::kHelp,
         {{kHelpContents, MessageId::kMenuHelpContents}, {kAbout, MessageId::kAboutMenu}}},
    };
    return menus;
}

struct Button {
    int command;  // kSeparator: a gap between groups
    int textId;
    const char* theme;
    const char* own;
    QStyle::StandardPixmap fallback;
};

constexpr Button kToolBar[] = {
    {kNew, MessageId::kToolNew, "document-new", "new", QStyle::SP_FileIcon},
    {kOpen, MessageId::kToolOpen, "document-open", "open", QStyle::SP_DialogOpenButton},
    {kSave, MessageId::kToolSave, "document-save", "save", QStyle::SP_DialogSaveButton},
    {kSeparator, 0, nullptr, nullptr, QStyle::SP_CustomBase},
    {kAdd, MessageId::kToolAdd, "list-add", "add", QStyle::SP_FileDialogNewFolder},
    {kScanAdd, MessageId::kMenuScan, "scanner", "scan", QStyle::SP_BrowserReload},
    {kDelete, MessageId::kToolDelete, "edit-delete", "delete", QStyle::SP_TrashIcon},
    {kSeparator, 0, nullptr, nullptr, QStyle::SP_CustomBase},
    {kCut, MessageId::kToolCut, "edit-cut", "cut", QStyle::SP_ArrowRight},
    {kCopy, MessageId::kToolCopy, "edit-copy", "copy", QStyle::SP_FileDialogContentsView},
    {kPaste, MessageId::kToolPaste, "edit-paste", "paste", QStyle::SP_ArrowDown},
    {kSeparator, 0, nullptr, nullptr, QStyle::SP_CustomBase},
    {kRead, MessageId::kToolRead, "go-down", "read", QStyle::SP_ArrowDown},
    {kWrite, MessageId::kToolWrite, "go-up", "write", QStyle::SP_ArrowUp},
    {kSeparator, 0, nullptr, nullptr, QStyle::SP_CustomBase},
    {kReport, MessageId::kToolReport, "document-print", "print", QStyle::SP_FileDialogDetailedView},
    {kAbout, MessageId::kToolAbout, "help-about", "help", QStyle::SP_MessageBoxInformation},
};

// The desktop theme's icon where it has a fitting one, else our own, else the style's.
QIcon ToolIcon(const char* theme, const char* own, QStyle::StandardPixmap fallback) {
    const QString resource = QStringLiteral(":/icons/toolbar/%1.svg").arg(QLatin1String(own));
    const QIcon ownIcon = QFileInfo::exists(resource)
                              ? QIcon(resource)
                              : QApplication::style()->standardIcon(fallback);
    return QIcon::fromTheme(QLatin1String(theme), ownIcon);
}

}  // namespace

CMainMenus::CMainMenus(QMainWindow& window, bool helpPaneShown,
                       const std::vector<LanguageCommand>& languages,
                       const std::string& selectedLanguage)
    : QObject(&window), m_window(window) {
    BuildMenus(helpPaneShown, languages, selectedLanguage);
    BuildToolBar();
}

QAction* CMainMenus::Action(int commandId) const {
    const auto it = m_actions.find(commandId);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* CMainMenus::AddCommand(QMenu* menu, int commandId, int textId) {
    // Menu texts carry their shortcut after a tab, so a language file can change both.
    const QStringList parts = DialogText(textId).split(QLatin1Char('\t'));
    auto* action = new QAction(parts.value(0), &m_window);
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

void CMainMenus::BuildMenus(bool helpPaneShown, const std::vector<LanguageCommand>& languages,
                            const std::string& selectedLanguage) {
    QMenuBar* bar = m_window.menuBar();
    for (const Menu& table : MenuTable()) {
        if (table.titleId == 0) {
            // The menu bar's item is the command itself; the toolbar shows it with its icon.
            const Entry& entry = table.entries.front();
            QAction* command = AddCommand(nullptr, entry.command, entry.textId);
            m_reportMenu = bar->addAction(command->text());
            connect(m_reportMenu, &QAction::triggered, command, &QAction::trigger);
            connect(command, &QAction::enabledChanged, m_reportMenu, &QAction::setEnabled);
            continue;
        }
        QMenu* menu = bar->addMenu(DialogText(table.titleId));
        if (table.titleId == MessageId::kWindow) {
            m_windowMenu = menu->menuAction();
        }
        for (const Entry& entry : table.entries) {
            if (entry.command == kSeparator) {
                menu->addSeparator();
            } else if (entry.command == kRecentFiles) {
                m_recentMenu = menu->addMenu(DialogText(entry.textId));
                connect(m_recentMenu, &QMenu::aboutToShow, this, &CMainMenus::UpdateRecentFiles);
                UpdateRecentFiles();
            } else if (entry.command == kLanguages) {
                // A region that offers English alone has no Language submenu.
                if (!languages.empty()) {
                    BuildLanguageMenu(menu->addMenu(DialogText(entry.textId)), languages,
                                      selectedLanguage);
                }
            } else if (QAction* shared = Action(entry.command)) {
                menu->addAction(shared);
            } else {
                AddCommand(menu, entry.command, entry.textId);
            }
        }
    }

    QAction* redo = Action(kRedo);
    redo->setShortcuts({redo->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    QAction* helpPane = Action(kHelpPane);
    helpPane->setCheckable(true);
    helpPane->setChecked(helpPaneShown);
    helpPane->setStatusTip(DialogText(MessageId::kShowOrHideHelp).section(QLatin1Char('\n'), 0, 0));
    for (int toggle : {kToolbar, kStatusBar}) {
        Action(toggle)->setCheckable(true);
        Action(toggle)->setChecked(true);
    }
    connect(Action(kStatusBar), &QAction::toggled, this,
            [this](bool on) { m_window.statusBar()->setVisible(on); });
    Action(kTabbed)->setCheckable(true);
    Action(kAbout)->setText(QString::fromStdString(
        CStringTable::Instance().Format(MessageId::kAboutMenu, {kApplicationName})));
}

void CMainMenus::BuildLanguageMenu(QMenu* menu, const std::vector<LanguageCommand>& languages,
                                   const std::string& selectedLanguage) {
    m_languageMenu = menu;
    auto* group = new QActionGroup(this);
    for (const auto& command : languages) {
        auto* action = m_languageMenu->addAction(QString::fromStdString(command.displayName));
        action->setCheckable(true);
        action->setChecked(command.key == selectedLanguage);
        action->setProperty("ctrlId", command.commandId);
        action->setData(QString::fromStdString(command.key));
        group->addAction(action);
        m_actions[command.commandId] = action;
        connect(action, &QAction::triggered, this,
                [this, key = command.key] { emit languageChosen(key); });
    }
}

void CMainMenus::BuildToolBar() {
    QToolBar* bar = m_window.addToolBar(DialogText(MessageId::kToolbar).remove(QLatin1Char('&')));
    bar->setObjectName(QStringLiteral("MainToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(16, 16));
    for (const Button& button : kToolBar) {
        if (button.command == kSeparator) {
            bar->addSeparator();
            continue;
        }
        QAction* action = Action(button.command);
        action->setIcon(ToolIcon(button.theme, button.own, button.fallback));
        action->setIconText(DialogText(button.textId));
        action->setToolTip(DialogText(button.textId));
        bar->addAction(action);
    }
    connect(Action(kToolbar), &QAction::toggled, bar, &QToolBar::setVisible);
}

void CMainMenus::UpdateRecentFiles() {
    m_recentMenu->clear();
    int number = 1;
    for (const std::string& path : CRecentFiles::Entries()) {
        QAction* action = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(QString::fromStdString(path)));
        connect(action, &QAction::triggered, this, [this, path] { emit recentFileChosen(path); });
    }
    m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}
