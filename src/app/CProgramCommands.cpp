#include "CProgramCommands.h"

#include <QUrl>
#include <filesystem>

#include "CPreferenceDialog.h"
#include "CRadioBackup.h"
#include "IAppUi.h"
#include "ICommandHost.h"
#include "LanguageResources.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "StringTable.h"
#include "Utility.h"

void CProgramCommands::Preferences(const QString& shownPort) {
    CPreferenceDialog dialog(
        m_ports, [this](const QString& port) { m_host.ShowPort(port); }, m_host.Window());
    if (dialog.exec() != QDialog::Accepted) {
        // Nothing was stored, so the pane goes back to the port the commands still use.
        m_host.ShowPort(shownPort);
    }
}

void CProgramCommands::ChooseLanguage(const std::string& key) {
    const std::string running = Utility::GetCurrentLanguage();
    Utility::SetCurrentLanguage(key);
    if (running != key) {
        m_host.Ui().Inform(MessageId::kYouHaveToRestart);
    }
}

void CProgramCommands::HelpContents() {
    const std::string path = HelpFileOrEnglish();
    if (path.empty()) {
        m_host.Ui().Inform(MessageId::kHelpFileNotConfigured);
        return;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        m_host.Ui().Inform(MessageId::kHelpFileMissing);
        return;
    }
    if (!m_host.Ui().OpenUrl(QUrl::fromLocalFile(QString::fromStdString(path)))) {
        m_host.Ui().Inform(MessageId::kErrorHelpFileFormat);
    }
}

void CProgramCommands::OpenBackupFolder() {
    const std::filesystem::path folder = CRadioBackup::UserFolder();
    // The folder exists before the first backup, so the file manager has something to show.
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !m_host.Ui().OpenUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string())))) {
        m_host.Ui().ShowMessage(
            CStringTable::Instance().Format(MessageId::kFolderNotOpened, {folder.string()}),
            MessageStyle::kOk);
    }
}
