#include "CStationRadioUi.h"

#include "CStationCoordinator.h"
#include "CStationJob.h"
#include "MessageId.h"
#include "RadioResult.h"

namespace {

// The share of the whole write that each stage between two progress steps stands for.
constexpr int kStageSpan = 20;

CStationPortState::Phase PhaseOf(RadioOperation operation) {
    switch (operation) {
        case RadioOperation::kBackup:
            return CStationPortState::Phase::kBackingUp;
        case RadioOperation::kWriteCodeplug:
            return CStationPortState::Phase::kWriting;
        case RadioOperation::kVerify:
            return CStationPortState::Phase::kVerifying;
        default:
            return CStationPortState::Phase::kReading;
    }
}

}  // namespace

CStationRadioUi::CStationRadioUi(const CStationJob& job, CTransferContext& context,
                                 const CStationCoordinator& coordinator, Announce announce)
    : m_job(job), m_context(context), m_coordinator(coordinator), m_announce(std::move(announce)) {}

void CStationRadioUi::BeginRadio() {
    m_running.reset();
    m_stage = 0;
    m_refusal = 0;
    m_touched = false;
    m_verifyCode = 0;
    m_passwordGiven = false;
    m_messages.clear();
}

int CStationRadioUi::RunOperation(RadioOperation which, const std::function<int()>& operation) {
    // The write clears the cancel flag when it starts; a stop that came before must still hold.
    if (m_coordinator.Stopping()) {
        return kUserCancelled;
    }
    m_running = which;
    m_stage = 0;
    m_announce(PhaseOf(which), 0);
    const int code = operation();
    m_running.reset();
    if (which == RadioOperation::kWriteCodeplug) {
        m_touched = code == kRadioSuccess || m_context.RadioTouched();
    } else if (which == RadioOperation::kVerify) {
        m_verifyCode = code;
    }
    return code;
}

bool CStationRadioUi::AskYesNo(int messageId) {
    const bool yes = messageId == MessageId::kAskDropUnsupported && m_job.acceptUnsupported;
    if (!yes) {
        m_refusal = MessageId::kStationNotSupportedRefused;
    }
    return yes;
}

std::optional<std::string> CStationRadioUi::AskPassword() {
    if (m_passwordGiven || !m_job.password) {
        m_refusal = MessageId::kStationPasswordRefused;
        return std::nullopt;
    }
    m_passwordGiven = true;
    return m_job.password;
}

void CStationRadioUi::ShowMessage(const std::string& text) {
    m_messages += (m_messages.empty() ? "" : "\n") + text;
}

void CStationRadioUi::OnProgress(int percent) {
    if (m_running == RadioOperation::kWriteCodeplug) {
        m_stage = percent;
        m_announce(CStationPortState::Phase::kWriting, percent);
    }
}

void CStationRadioUi::OnRecord(int done, int total) {
    if (m_running == RadioOperation::kWriteCodeplug && total > 0) {
        m_announce(CStationPortState::Phase::kWriting, m_stage + kStageSpan * done / total);
    }
}

void CStationRadioUi::OnWarning(TransferWarning warning) {
    const bool yes = warning == TransferWarning::kRadioNotInProfile || m_job.acceptUnsupported;
    if (!yes) {
        m_refusal = MessageId::kStationNotSupportedRefused;
    }
    m_context.AnswerWarning(yes);
}
