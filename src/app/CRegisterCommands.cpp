#include "CRegisterCommands.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CQMVVLTDoc.h"
#include "CRadioCommands.h"
#include "CRecoveryRecord.h"
#include "CRegister.h"
#include "CRegisterDialog.h"
#include "CRegisterRecord.h"
#include "IAppUi.h"
#include "MessageStyle.h"

CRegisterCommands::CRegisterCommands(CMainFrame& window) : QObject(&window), m_window(window) {
    connect(window.MdiArea(), &QMdiArea::subWindowActivated, this, [this] {
        if (m_dialog) {
            m_dialog->Refresh();
        }
    });
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
    CRegister* reg = m_window.Radio().Register();
    if (!reg) {
        m_window.Ui().ShowMessage(m_window.Radio().RegisterProblem(), MessageStyle::kOk);
        return;
    }
    CRegisterDialog::Actions actions;
    actions.openBackup = [this](const std::filesystem::path& backup) { OpenBackup(backup); };
    actions.restore = [this](const std::filesystem::path& backup, const std::string& pid) {
        m_window.Radio().Restore(backup, pid);
    };
    actions.activeProfileHash = [this] { return ActiveProfileHash(); };
    m_dialog = new CRegisterDialog(*reg, m_window.Ui(), m_window.InstallPath(),
                                   CMainFrame::ReportPageFolder(), std::move(actions), &m_window);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog->show();
}

bool CRegisterCommands::OpenBackup(const std::filesystem::path& backup) {
    CQMVVLTDoc kept(m_window.Settings(), m_window.InstallPath(), m_window.Ui());
    if (!kept.Open(backup)) {
        return false;
    }
    // Untitled and modified: saving asks for a name, so the backup itself stays as it was taken.
    CRecoveryRecord copy;
    copy.title = backup.stem().string();
    copy.profile = kept.Model().ProfileText();
    copy.narrow = kept.Model().IsNarrowFile();
    auto document =
        std::make_unique<CQMVVLTDoc>(m_window.Settings(), m_window.InstallPath(), m_window.Ui());
    if (!document->OpenRecovered(copy)) {
        return false;
    }
    return m_window.AddFrame(std::move(document)) != nullptr;
}

CRegisterDialog* CRegisterCommands::Dialog() const {
    return m_dialog;
}

std::string CRegisterCommands::ActiveProfileHash() {
    CChildFrame* frame = m_window.ActiveFrame();
    return frame ? ProfileHash(frame->Document().Model().ProfileText()) : std::string();
}
