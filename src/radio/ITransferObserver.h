#pragma once

// Warnings a write raises before it sends anything; each waits for an answer.
enum TransferWarning : int {
    kWarnRadioNotInProfile = -1,  // no private contact carries the radio's own PID
    kWarnNotSupported = -2,       // the radio cannot take all of the profile
    kWarnChannelRemap = -3,       // channels 5 to 7 will become 2 to 4
};

// How a radio operation reports. Calls come from the operation's own thread; a front end that needs
// them elsewhere queues them. Every operation ends with exactly one OnDone or OnFailed.
class ITransferObserver {
  public:
    virtual ~ITransferObserver() = default;
    // A stage finished: 20, 40, 60, 80 or 100 percent.
    virtual void OnProgress(int percent) = 0;
    virtual void OnDone() = 0;
    // A result code; kUserCancelled when the user cancelled.
    virtual void OnFailed(int code) = 0;
    // The operation waits until CTransferContext::AnswerWarning (or a cancel). The answer may be
    // given from inside this call.
    virtual void OnWarning(int warning) = 0;
};
