#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <filesystem>
#include <string>
#include <vector>

class CHelpPaneSetting;

// The context help pane: shows the help page that the help map gives for the focused control.
// Pages are looked up in a list of folders, the language's own first: a page not yet written in
// a language is shown from the next folder (English).
class CHelpPane : public QTextBrowser {
    Q_OBJECT
  public:
    using Folders = std::vector<std::filesystem::path>;

    CHelpPane(const CHelpPaneSetting& map, Folders helpFolders, QWidget* parent = nullptr);

    // The page for a control of a view class, as a file URL with its anchor, from the first
    // folder that has the page; empty without a match or when no folder has the page file.
    static QUrl PageFor(const CHelpPaneSetting& map, const Folders& helpFolders,
                        const std::string& viewClass, int ctrlId);
    // The folder holding the help pages: beside the configured help file, else "help" in the
    // install folder.
    static std::filesystem::path HelpFolder(const std::string& helpFilePath,
                                            const std::filesystem::path& installPath);
    // The folders of the language's help file and then of the English one, each once.
    static Folders HelpFolders(const std::string& helpFilePath, const std::string& englishHelpPath,
                               const std::filesystem::path& installPath);

    void ShowFor(const std::string& viewClass, int ctrlId);
    void ShowBlank();
    const QUrl& Shown() const { return m_shown; }

  private:
    const CHelpPaneSetting& m_map;
    Folders m_helpFolders;
    QUrl m_shown;
};
