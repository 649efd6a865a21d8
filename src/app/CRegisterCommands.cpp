#include "CRegisterCommands.h"

#include "CChildFrame.h"
#include "CQMVVLTDoc.h"
#include "CRadioCommands.h"
#include "CRecoveryRecord.h"
#include "CRegister.h"
#include "CRegisterDialog.h"
#include "CRegisterRecord.h"
#include "CReportOptionDlg.h"
#include "IAppUi.h"
#include "ICommandHost.h"
#include "MessageStyle.h"

CRegisterCommands::CRegisterCommands(ICommandHost& host, CRadioCommands& radio)
    : QObject(host.Window()), m_host(host), m_radio(radio) {}

void CRegisterCommands::ActiveProfileChanged() {
    if (m_dialog) {
        m_dialog->Refresh();
    }
}

CRegisterCommands::~CRegisterCommands() {
    delete m_dialog;
}

void CRegisterCommands::Show() {
    if (m_dialog) {
        m_dialog->Refresh();
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    CRegister* reg = m_radio.Register();
    if (!reg) {
        m_host.Ui().ShowMessage(m_radio.RegisterProblem(), MessageStyle::kOk);
        return;
    }
    CRegisterDialog::Actions actions;
    actions.openBackup = [this](const std::filesystem::path& backup) { OpenBackup(backup); };
    actions.restore = [this](const std::filesystem::path& backup, const std::string& pid) {
        m_radio.Restore(backup, pid);
    };
    actions.activeProfileHash = [this] { return ActiveProfileHash(); };
    m_dialog = new CRegisterDialog(*reg, m_host.Ui(), m_host.InstallPath(),
                                   CReportOptionDlg::UserPageFolder(), std::move(actions),
                                   m_host.Window());
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog->show();
}

bool CRegisterCommands::OpenBackup(const std::filesystem::path& backup) {
    CQMVVLTDoc kept(m_host.Settings(), m_host.InstallPath(), m_host.Ui());
    if (!kept.Open(backup)) {
        return false;
    }
    // Untitled and modified: saving asks for a name, so the backup itself stays as it was taken.
    CRecoveryRecord copy;
    copy.title = backup.stem().string();
    copy.profile = kept.Model().ProfileText();
    copy.narrow = kept.Model().IsNarrowFile();
    auto document =
        std::make_unique<CQMVVLTDoc>(m_host.Settings(), m_host.InstallPath(), m_host.Ui());
    if (!document->OpenRecovered(copy)) {
        return false;
    }
    return m_host.AddFrame(std::move(document)) != nullptr;
}

CRegisterDialog* CRegisterCommands::Dialog() const {
    return m_dialog;
}

std::string CRegisterCommands::ActiveProfileHash() {
    CChildFrame* frame = m_host.ActiveFrame();
    return frame ? ProfileHash(frame->Document().Model().ProfileText()) : std::string();
}
