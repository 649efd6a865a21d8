#include "CRadioCommands.h"

#include "CAppSettings.h"
#include "CCableDiscovery.h"
#include "CChildFrame.h"
#include "CCommandRecorder.h"
#include "CQMVVLTDoc.h"
#include "CRadioBackup.h"
#include "CReadPidDialog.h"
#include "CReadWriteDialog.h"
#include "CTextListDialog.h"
#include "CTraceFolder.h"
#include "CTraceScope.h"
#include "IAppUi.h"
#include "ICommandHost.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "ProfileDiff.h"
#include "RadioResult.h"
#include "StringTable.h"
#include "Utility.h"

CRadioCommands::CRadioCommands(ICommandHost& host, const IPortLister& lister)
    : m_host(host),
      m_lister(lister),
      m_ui(host.Window(), host.Ui(), m_context,
           [&host](const QString& text) { host.ShowPort(text); }),
      m_chain(m_context, host.Settings().UpDownGrade(), m_ui),
      m_recorder(std::make_unique<CCommandRecorder>(CRegisterOptions::FromConfiguration())) {
    m_chain.SetOutcomeObserver(
        [this](const CRadioCommandOutcome& outcome) { m_recorder->Record(outcome); });
}

CRadioCommands::~CRadioCommands() = default;

std::string CRadioCommands::CurrentPort() const {
    const CCableDiscovery discovery(m_lister);
    return discovery.GetCurrentPort(false,
                                    {Utility::GetAutoDetect(), Utility::GetCurrentComPort()});
}

bool CRadioCommands::Start(std::string& port) {
    if (m_running) {
        return false;
    }
    port = CurrentPort();
    m_host.ShowPort(QString::fromStdString(port));
    if (port.empty()) {
        m_host.Ui().Inform(MessageId::kNoComPort);
        return false;
    }
    m_ui.SetPort(QString::fromStdString(port));
    m_ui.SetSeriesCount(0);
    // What a radio said in an earlier command is not this radio's.
    m_context.ForgetRadio();
    if (Utility::GetWireTrace()) {
        // One trace per command; a folder that cannot be written costs the trace, not the command.
        m_trace = std::make_unique<CTraceScope>(
            m_context, CTraceFolder(CTraceFolder::UserFolder()).StartTrace());
    }
    m_running = true;
    emit runningChanged(true);
    return true;
}

CRegister* CRadioCommands::Register() const {
    return m_recorder->Register();
}

std::string CRadioCommands::RegisterProblem() const {
    return m_recorder->Problem();
}

void CRadioCommands::Finish() {
    m_trace.reset();
    // The command is done either way; the user learns that its record waits or is lost.
    if (const std::string problem = RegisterProblem(); !problem.empty()) {
        m_host.ShowStatus(QString::fromStdString(problem));
    }
    m_running = false;
    emit runningChanged(false);
}

bool CRadioCommands::ReadImage(CVirtualCodeplug& image) {
    std::string port;
    if (!Start(port)) {
        return false;
    }
    const int code = m_chain.Read(port, image);
    Finish();
    return code == kRadioSuccess;
}

void CRadioCommands::Read() {
    CVirtualCodeplug image;
    if (!ReadImage(image)) {
        return;
    }
    CChildFrame* active = m_host.ActiveFrame();
    int answer = MessageStyle::kIdYes;
    if (active) {
        answer = m_host.Ui().ShowMessage(LoadString(MessageId::kNewOrOverwrite),
                                         MessageStyle::kYesNoCancel);
    }
    if (answer == MessageStyle::kIdYes) {
        m_host.NewDocumentFromImage(image);
    } else if (answer == MessageStyle::kIdNo && active) {
        m_host.ReplaceDocument(*active, image);
    }
}

void CRadioCommands::Write() {
    CChildFrame* frame = m_host.ActiveFrame();
    if (!frame || m_running) {
        return;
    }
    std::string port;
    if (!Start(port)) {
        return;
    }
    // The profile as the user sees it: pending edits go in first.
    if (!frame->CommitPendingInput()) {
        Finish();
        return;
    }
    m_chain.SetBackupFolder(Utility::GetBackupBeforeWrite() ? CRadioBackup::UserFolder()
                                                            : std::filesystem::path());
    m_chain.SetVerify(Utility::GetVerifyAfterWrite());
    for (int count = 1;; ++count) {
        m_ui.SetSeriesCount(count > 1 ? count : 0);
        const int code = m_chain.Write(port, frame->Document());
        if (code != kRadioSuccess || m_ui.LastDialogCode() != CReadWriteDialog::kWriteNext) {
            break;
        }
        // The next radio may be on another socket.
        port = CurrentPort();
        if (port.empty()) {
            m_host.Ui().Inform(MessageId::kNoComPort);
            break;
        }
        m_ui.SetPort(QString::fromStdString(port));
    }
    Finish();
}

void CRadioCommands::Reset() {
    std::string port;
    if (!Start(port)) {
        return;
    }
    m_chain.Reset(port);
    Finish();
}

void CRadioCommands::CompareWithRadio() {
    CChildFrame* frame = m_host.ActiveFrame();
    if (!frame || m_running || !frame->CommitPendingInput()) {
        return;
    }
    CVirtualCodeplug image;
    if (!ReadImage(image) || !m_host.Frames().contains(frame)) {
        return;
    }
    // The radio's data as the profile a Read would make, kept only for the comparison.
    CQMVVLTDoc radio(m_host.Settings(), m_host.InstallPath(), m_host.Ui());
    if (!radio.NewFromVirtualCP(image)) {
        return;
    }
    const auto diffs =
        DiffProfiles(frame->Document().Model().GetProfileDoc(), radio.Model().GetProfileDoc());
    std::vector<std::string> lines = FormatProfileDifferences(diffs);
    if (lines.empty()) {
        lines.push_back(LoadString(MessageId::kDiffEqual));
    }
    const std::string title = frame->Document().Path().empty()
                                  ? frame->Document().Title()
                                  : frame->Document().Path().filename().string();
    auto* dialog = new CTextListDialog(QString::fromStdString(LoadString(MessageId::kCompareTitle)),
                                       QString::fromStdString(CStringTable::Instance().Format(
                                           MessageId::kCompareHeading, {title})),
                                       lines, m_host.Window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

std::optional<std::string> CRadioCommands::ReadPrivateId() {
    std::string port;
    if (!Start(port)) {
        return std::nullopt;
    }
    CReadPidDialog dialog(
        m_context, port, [this](const QString& text) { m_host.ShowPort(text); }, m_host.Window());
    const int answer = dialog.Run();
    const QString pid = QString::fromStdU16String(dialog.CapturedPid()).trimmed();
    CRadioCommandOutcome outcome = CRadioCommandOutcome::Of(CRadioCommandOutcome::Command::kCapture,
                                                            m_context, port, dialog.Result());
    outcome.capturedPid = pid.toStdU16String();
    m_recorder->Record(outcome);
    Finish();
    if (answer != QDialog::Accepted || pid.isEmpty()) {
        return std::nullopt;
    }
    return pid.toStdString();
}

void CRadioCommands::Restore(const std::filesystem::path& backup, const std::string& pid) {
    if (m_running) {
        return;
    }
    // The backup as it was kept, not as any open window shows it.
    CQMVVLTDoc doc(m_host.Settings(), m_host.InstallPath(), m_host.Ui());
    if (!doc.Open(backup)) {
        return;
    }
    std::string port;
    if (!Start(port)) {
        return;
    }
    m_chain.SetBackupFolder(Utility::GetBackupBeforeWrite() ? CRadioBackup::UserFolder()
                                                            : std::filesystem::path());
    m_chain.SetVerify(Utility::GetVerifyAfterWrite());
    m_chain.Restore(port, doc, QString::fromStdString(pid).toStdU16String());
    Finish();
}
