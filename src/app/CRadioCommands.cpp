#include "CRadioCommands.h"

#include <QLabel>

#include "CAppSettings.h"
#include "CCableDiscovery.h"
#include "CChildFrame.h"
#include "CMainFrame.h"
#include "CQMVVLTDoc.h"
#include "CReadPidDialog.h"
#include "CReadWriteDialog.h"
#include "IAppUi.h"
#include "MessageId.h"
#include "MessageStyle.h"
#include "RadioResult.h"
#include "StringTable.h"
#include "Utility.h"

CRadioCommands::CRadioCommands(CMainFrame& window, const IPortLister& lister)
    : m_window(window),
      m_lister(lister),
      m_ui(&window, window.Ui(), CTransferContext::Instance(),
           [&window](const QString& text) { window.PortPane()->setText(text); }),
      m_chain(CTransferContext::Instance(), window.Settings().UpDownGrade(), m_ui) {}

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
    m_window.PortPane()->setText(QString::fromStdString(port));
    if (port.empty()) {
        m_window.Ui().Inform(MessageId::kNoComPort);
        return false;
    }
    m_ui.SetPort(QString::fromStdString(port));
    m_ui.SetSeriesCount(0);
    m_running = true;
    emit runningChanged(true);
    return true;
}

void CRadioCommands::Finish() {
    m_running = false;
    emit runningChanged(false);
}

void CRadioCommands::Read() {
    std::string port;
    if (!Start(port)) {
        return;
    }
    CVirtualCodeplug image;
    const int code = m_chain.Read(port, image);
    Finish();
    if (code != kRadioSuccess) {
        return;
    }
    CChildFrame* active = m_window.ActiveFrame();
    int answer = MessageStyle::kIdYes;
    if (active) {
        answer = m_window.Ui().ShowMessage(LoadString(MessageId::kNewOrOverwrite),
                                           MessageStyle::kYesNoCancel);
    }
    if (answer == MessageStyle::kIdYes) {
        m_window.NewDocumentFromImage(image);
    } else if (answer == MessageStyle::kIdNo && active) {
        m_window.ReplaceDocument(*active, image);
    }
}

void CRadioCommands::Write() {
    CChildFrame* frame = m_window.ActiveFrame();
    if (!frame || m_running) {
        return;
    }
    std::string port;
    if (!Start(port)) {
        return;
    }
    // The profile as the user sees it: pending edits go in first.
    if (!m_window.AcceptPendingInput(*frame)) {
        Finish();
        return;
    }
    for (int count = 1;; ++count) {
        m_ui.SetSeriesCount(count > 1 ? count : 0);
        const int code = m_chain.Write(port, frame->Document());
        if (code != kRadioSuccess || m_ui.LastDialogCode() != CReadWriteDialog::kWriteNext) {
            break;
        }
        // The next radio may be on another socket.
        port = CurrentPort();
        if (port.empty()) {
            m_window.Ui().Inform(MessageId::kNoComPort);
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

std::optional<std::string> CRadioCommands::ReadPrivateId() {
    std::string port;
    if (!Start(port)) {
        return std::nullopt;
    }
    CReadPidDialog dialog(
        CTransferContext::Instance(), port,
        [this](const QString& text) { m_window.PortPane()->setText(text); }, &m_window);
    const int answer = dialog.Run();
    const QString pid = QString::fromStdU16String(dialog.CapturedPid()).trimmed();
    Finish();
    if (answer != QDialog::Accepted || pid.isEmpty()) {
        return std::nullopt;
    }
    return pid.toStdString();
}
