#include "CHelpPane.h"

#include "CHelpPaneSetting.h"
#include "MessageId.h"
#include "StringTable.h"

CHelpPane::CHelpPane(const CHelpPaneSetting& map, Folders helpFolders, QWidget* parent)
    : QTextBrowser(parent), m_map(map), m_helpFolders(std::move(helpFolders)) {
    setOpenExternalLinks(true);
    setAccessibleName(QString::fromStdString(LoadString(MessageId::kContextHelp)));
}

std::filesystem::path CHelpPane::HelpFolder(const std::string& helpFilePath,
                                            const std::filesystem::path& installPath) {
    if (!helpFilePath.empty()) {
        const std::filesystem::path folder = std::filesystem::path(helpFilePath).parent_path();
        std::error_code ec;
        if (std::filesystem::is_directory(folder, ec)) {
            return folder;
        }
    }
    return installPath / "help";
}

CHelpPane::Folders CHelpPane::HelpFolders(const std::string& helpFilePath,
                                          const std::string& englishHelpPath,
                                          const std::filesystem::path& installPath) {
    Folders folders{HelpFolder(helpFilePath, installPath)};
    const std::filesystem::path english = HelpFolder(englishHelpPath, installPath);
    if (english != folders.front()) {
        folders.push_back(english);
    }
    return folders;
}

QUrl CHelpPane::PageFor(const CHelpPaneSetting& map, const Folders& helpFolders,
                        const std::string& viewClass, int ctrlId) {
    const auto page = map.PageName(viewClass, std::to_string(ctrlId));
    if (!page || page->empty()) {
        return {};
    }
    const QString pageName = QString::fromStdString(*page);
    const qsizetype hash = pageName.indexOf(QLatin1Char('#'));
    const QString file = hash < 0 ? pageName : pageName.left(hash);
    const QString anchor = hash < 0 ? QString() : pageName.mid(hash + 1);
    // The map names pages "X.htm"; our pages may be written as "X.html".
    std::error_code ec;
    for (const std::filesystem::path& helpFolder : helpFolders) {
        for (const QString& candidate : {file, file + QLatin1Char('l')}) {
            const std::filesystem::path path = helpFolder / candidate.toStdString();
            if (std::filesystem::is_regular_file(path, ec)) {
                QUrl url = QUrl::fromLocalFile(QString::fromStdString(path.string()));
                if (!anchor.isEmpty()) {
                    url.setFragment(anchor);
                }
                return url;
            }
        }
    }
    return {};
}

void CHelpPane::ShowFor(const std::string& viewClass, int ctrlId) {
    const QUrl url = PageFor(m_map, m_helpFolders, viewClass, ctrlId);
    if (url.isEmpty()) {
        ShowBlank();
        return;
    }
    if (url == m_shown) {
        return;
    }
    m_shown = url;
    setSource(url);
}

void CHelpPane::ShowBlank() {
    m_shown = QUrl();
    clear();
}
