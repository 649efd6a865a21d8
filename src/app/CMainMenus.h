#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "LanguageMenu.h"

class QAction;
class QMainWindow;
class QMenu;

// The main window's menu bar and toolbar, built from their tables: one action per command, found
// by its command id (MainCommand). What each command does is wired by the window.
class CMainMenus : public QObject {
    Q_OBJECT
  public:
    // helpPaneShown: the Help Pane command's check; languages: the Language submenu's entries
    // (no submenu when empty), selectedLanguage the checked one.
    CMainMenus(QMainWindow& window, bool helpPaneShown,
               const std::vector<LanguageCommand>& languages, const std::string& selectedLanguage);

    QAction* Action(int commandId) const;
    QMenu* LanguageMenu() const { return m_languageMenu; }
    QMenu* RecentMenu() const { return m_recentMenu; }
    // The Report item of the menu bar and the Window menu, shown while a profile is open.
    QAction* ReportMenu() const { return m_reportMenu; }
    QAction* WindowMenu() const { return m_windowMenu; }

  signals:
    void languageChosen(const std::string& key);
    void recentFileChosen(const std::string& path);

  private:
    QAction* AddCommand(QMenu* menu, int commandId, int textId);
    void BuildMenus(bool helpPaneShown, const std::vector<LanguageCommand>& languages,
                    const std::string& selectedLanguage);
    void BuildLanguageMenu(QMenu* menu, const std::vector<LanguageCommand>& languages,
                           const std::string& selectedLanguage);
    void BuildToolBar();
    void UpdateRecentFiles();

    QMainWindow& m_window;
    std::map<int, QAction*> m_actions;
    QMenu* m_languageMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QAction* m_reportMenu = nullptr;
    QAction* m_windowMenu = nullptr;
};
