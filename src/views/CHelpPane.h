#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <filesystem>
#include <string>

class CHelpPaneSetting;

// The context help pane: shows the help page that the help map gives for the focused control.
class CHelpPane : public QTextBrowser {
    Q_OBJECT
  public:
    CHelpPane(const CHelpPaneSetting& map, std::filesystem::path helpFolder,
              QWidget* parent = nullptr);

    // The page for a control of a view class, as a file URL with its anchor; empty without a
    // match or when the page file is missing.
    static QUrl PageFor(const CHelpPaneSetting& map, const std::filesystem::path& helpFolder,
                        const std::string& viewClass, int ctrlId);
    // The folder holding the help pages: beside the configured help file, else "help" in the
    // install folder.
    static std::filesystem::path HelpFolder(const std::string& helpFilePath,
                                            const std::filesystem::path& installPath);

    void ShowFor(const std::string& viewClass, int ctrlId);
    void ShowBlank();
    const QUrl& Shown() const { return m_shown; }

  private:
    const CHelpPaneSetting& m_map;
    std::filesystem::path m_helpFolder;
    QUrl m_shown;
};
