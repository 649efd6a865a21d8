#include "CHelpPane.h"

#include "CHelpPaneSetting.h"
#include "MessageId.h"
#include "StringTable.h"

CHelpPane::CHelpPane(const CHelpPaneSetting& map, std::filesystem::path helpFolder, QWidget* parent)
    : QTextBrowser(parent), m_map(map), m_helpFolder(std::move(helpFolder)) {
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

QUrl CHelpPane::PageFor(const CHelpPaneSetting& map, const std::filesystem::path& helpFolder,
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
    return {};
}

void CHelpPane::ShowFor(const std::string& viewClass, int ctrlId) {
    const QUrl url = PageFor(m_map, m_helpFolder, viewClass, ctrlId);
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
