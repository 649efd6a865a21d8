#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "CPortRegistry.h"
#include "CVirtualCodeplug.h"
#include "CWireTrace.h"
#include "IByteStream.h"
#include "ITransferObserver.h"

// The state of the radio operations of one user of the radio link (a command, a dialog, one port
// of a station): the port it holds, the lock that keeps its operations one after another, the
// cancel and failure flags, the observer of its running operation, the answer to a pending
// warning, its wire trace and the PIDs its operations leave behind. Contexts know nothing of each
// other: operations with different contexts on different ports run side by side, and the port
// registry refuses a second one on a port already in use (kPortBusy).
class CTransferContext {
  public:
    // The model family this program serves.
    static constexpr int kHostCompatibility = 10;
    using PortFactory = std::function<std::unique_ptr<IByteStream>(const std::string& port)>;

    CTransferContext();
    CTransferContext(const CTransferContext&) = delete;
    CTransferContext& operator=(const CTransferContext&) = delete;

    // Reserves port for this context's operations until ReleasePort (or another HoldPort), so
    // that the steps of a command, or a station's work on its cable, are never interleaved with
    // another user's. False when another context or operation is using the port; an operation of
    // this context started on it anyway then ends with kPortBusy without opening it.
    bool HoldPort(const std::string& port);
    void ReleasePort();
    // Whether this context holds port (under this or another name of the device).
    bool Holds(const std::string& port) const;
    // The port this context holds, as it was given ("" when none).
    std::string HeldPort() const;

    // Held by an operation from its first step to its last.
    std::mutex& Lock() { return m_lock; }
    // The thread that holds the lock (a default id when none): an operation started on that
    // thread, from inside an observer callback, would wait for itself.
    void SetLockOwner(std::thread::id owner) { m_lockOwner = owner; }
    std::thread::id LockOwner() const { return m_lockOwner; }

    // Set by whoever starts an operation, just before starting it.
    void SetObserver(ITransferObserver* observer) { m_observer = observer; }
    ITransferObserver* Observer() const { return m_observer; }

    void RequestCancel();
    void ClearCancel() { m_cancel = false; }
    bool Cancelled() const { return m_cancel; }

    void SetFailed() { m_failed = true; }
    void ClearFailed() { m_failed = false; }
    bool Failed() const { return m_failed; }

    // The warning "not supported" was already accepted before the transfer: it is not raised.
    void SetNotSupportedAccepted(bool accepted) { m_notSupportedAccepted = accepted; }
    bool NotSupportedAccepted() const { return m_notSupportedAccepted; }

    // Raises a warning through the observer and waits for its answer; false when the answer was No
    // or the operation was cancelled meanwhile (the cancel flag is then set).
    bool Warn(TransferWarning warning);
    // Answers the pending warning (from any thread).
    void AnswerWarning(bool yes);

    // Opens the port for an operation; a serial port unless a test supplies another stream.
    void SetPortFactory(PortFactory factory) { m_portFactory = std::move(factory); }
    std::unique_ptr<IByteStream> OpenPort(const std::string& port) const;

    // The pause before FinishWrite's reply and the interval of PID capture polls.
    std::chrono::milliseconds finishPause{4000};
    std::chrono::milliseconds capturePollInterval{3000};

    // Why the last operation's port did not open, from the operating system ("" when it did).
    void SetPortProblem(std::string text);
    std::string PortProblem() const;

    // Set once the first byte of WriteSettings went to the radio, cleared when an operation
    // starts: from then on a write that does not finish leaves the radio partly programmed.
    void SetRadioTouched(bool touched) { m_radioTouched = touched; }
    bool RadioTouched() const { return m_radioTouched; }

    // The wire trace every operation from now on records its frames in (nullptr: none).
    void SetTrace(std::shared_ptr<CWireTrace> trace);
    std::shared_ptr<CWireTrace> Trace() const;

    void SetCurrentRadioPid(std::u16string pid);
    std::u16string CurrentRadioPid() const;
    void SetCapturedPid(std::u16string pid);
    std::u16string CapturedPid() const;

    // What the operations learned of the radio on the cable, for the register: the version report
    // of the last identification and the limits block (own PID, model) of the last limits read.
    struct RadioSeen {
        std::optional<CVersionBlock> version;
        std::optional<CRadioLimits> limits;
    };
    void NoteRadioVersion(const CVersionBlock& version);
    void NoteRadioLimits(const CRadioLimits& limits);
    RadioSeen SeenRadio() const;
    // A command starts: what an earlier one saw is not this radio's.
    void ForgetRadio();

  private:
    std::mutex m_lock;
    mutable std::mutex m_holdMutex;
    CPortClaim m_held;
    std::atomic<ITransferObserver*> m_observer{nullptr};
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_notSupportedAccepted{false};
    std::atomic<bool> m_radioTouched{false};
    std::atomic<std::thread::id> m_lockOwner{};
    PortFactory m_portFactory;

    std::mutex m_answerMutex;
    std::condition_variable m_answered;
    bool m_waiting = false;
    bool m_hasAnswer = false;
    bool m_answer = false;

    mutable std::mutex m_pidMutex;
    std::u16string m_currentRadioPid;
    std::u16string m_capturedPid;
    RadioSeen m_seen;
    std::string m_portProblem;
    std::shared_ptr<CWireTrace> m_trace;
};
