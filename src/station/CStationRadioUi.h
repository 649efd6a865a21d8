#pragma once

#include <functional>
#include <optional>
#include <string>

#include "CTransferContext.h"
#include "IRadioCommandUi.h"
#include "IStationObserver.h"
#include "ITransferObserver.h"

class CStationCoordinator;
struct CStationJob;

// One port's answers to the write's questions, all decided by the job before it started, and its
// operations' progress as port states. Every operation runs at once on the port's own thread;
// nothing is ever shown or asked. What a radio's write said is kept until the next BeginRadio.
class CStationRadioUi : public IRadioCommandUi, public ITransferObserver {
  public:
    using Announce = std::function<void(CStationPortState::Phase phase, int percent)>;

    CStationRadioUi(const CStationJob& job, CTransferContext& context,
                    const CStationCoordinator& coordinator, Announce announce);

    void BeginRadio();

    // Why the radio was refused by the job's answers (a message id), 0 when it was not.
    int Refusal() const { return m_refusal; }
    // Whether the write sent anything to the radio.
    bool Touched() const { return m_touched; }
    // The verify read-back's result, 0 when it did not run.
    int VerifyCode() const { return m_verifyCode; }
    // What the write said about the radio, a line each.
    const std::string& Messages() const { return m_messages; }

    // A job that is stopping runs no further operation (kUserCancelled).
    int RunOperation(RadioOperation which, const std::function<int()>& operation) override;
    // Only leaving out what the radio cannot take is asked, and the job answers it.
    bool AskYesNo(int messageId) override;
    // The job's password once per radio; then nothing (the radio is refused).
    std::optional<std::string> AskPassword() override;
    void ShowMessage(const std::string& text) override;
    bool ShowModifiedBandNotice() override { return false; }

    void OnProgress(int percent) override;
    void OnRecord(int done, int total) override;
    void OnDone() override {}
    void OnFailed(RadioResult) override {}
    // The radio not being in the profile is no reason to refuse it (the unit list decides which
    // radios a job writes); what it cannot take is left out only when the job accepts that.
    void OnWarning(TransferWarning warning) override;

  private:
    const CStationJob& m_job;
    CTransferContext& m_context;
    const CStationCoordinator& m_coordinator;
    Announce m_announce;
    std::optional<RadioOperation> m_running;
    int m_stage = 0;
    int m_refusal = 0;
    bool m_touched = false;
    int m_verifyCode = 0;
    bool m_passwordGiven = false;
    std::string m_messages;
};
