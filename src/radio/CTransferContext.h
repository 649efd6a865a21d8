#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "IByteStream.h"
#include "ITransferObserver.h"

// What all radio operations share: the lock that serialises them, the cancel and failure flags, the
// observer of the running operation, the answer to a pending warning, and the PIDs the operations
// leave behind.
class CTransferContext {
  public:
    // The model family this program serves.
    static constexpr int kHostCompatibility = 10;
    using PortFactory = std::function<std::unique_ptr<IByteStream>(const std::string& port)>;

    CTransferContext();
    static CTransferContext& Instance();

    // Held by an operation from its first step to its last.
    std::mutex& Lock() { return m_lock; }

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
    bool Warn(int warning);
    // Answers the pending warning (from any thread).
    void AnswerWarning(bool yes);

    // Opens the port for an operation; a serial port unless a test supplies another stream.
    void SetPortFactory(PortFactory factory) { m_portFactory = std::move(factory); }
    std::unique_ptr<IByteStream> OpenPort(const std::string& port) const;

    // The pause before FinishWrite's reply and the interval of PID capture polls.
    std::chrono::milliseconds finishPause{4000};
    std::chrono::milliseconds capturePollInterval{3000};

    void SetCurrentRadioPid(std::u16string pid);
    std::u16string CurrentRadioPid() const;
    void SetCapturedPid(std::u16string pid);
    std::u16string CapturedPid() const;

  private:
    std::mutex m_lock;
    std::atomic<ITransferObserver*> m_observer{nullptr};
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_failed{false};
    std::atomic<bool> m_notSupportedAccepted{false};
    PortFactory m_portFactory;

    std::mutex m_answerMutex;
    std::condition_variable m_answered;
    bool m_waiting = false;
    bool m_hasAnswer = false;
    bool m_answer = false;

    mutable std::mutex m_pidMutex;
    std::u16string m_currentRadioPid;
    std::u16string m_capturedPid;
};
