#pragma once

#include "RadioResult.h"

// Warnings a write raises before it sends anything; each waits for an answer.
enum class TransferWarning : int {
    kRadioNotInProfile = -1,  // no private contact carries the radio's own PID
    kNotSupported = -2,       // the radio cannot take all of the profile
    kChannelRemap = -3,       // channels 5 to 7 will become 2 to 4
};

// How a radio operation reports. Every operation ends with exactly one OnDone or OnFailed.
//
// Calls come from the operation's own worker thread while it holds its context's lock and its
// port: a callback must return quickly and must not wait for another operation of the same
// context (that one would wait for the lock this one holds). Starting an operation on the same
// thread from inside a callback does not deadlock: with the same context it fails at once with
// kRadioBusy, on the same port with another context with kPortBusy. A front end that needs the
// calls on another thread queues them (CTransferSignals does so for Qt).
class ITransferObserver {
  public:
    virtual ~ITransferObserver() = default;
    // A stage finished: 20, 40, 60, 80 or 100 percent.
    virtual void OnProgress(int percent) = 0;
    // A record of a list went over the line: done of total (contacts, then texts). Finer than
    // OnProgress, for a bar that moves during the long stages.
    virtual void OnRecord(int done, int total) {
        (void)done;
        (void)total;
    }
    virtual void OnDone() = 0;
    // kUserCancelled when the user cancelled.
    virtual void OnFailed(RadioResult code) = 0;
    // The operation waits until CTransferContext::AnswerWarning (or a cancel). The answer may be
    // given from inside this call or later from any thread.
    virtual void OnWarning(TransferWarning warning) = 0;
};
