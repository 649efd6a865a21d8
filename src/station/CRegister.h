#pragma once

#include <QThread>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CRegisterDatabase.h"
#include "CRegisterLocation.h"
#include "CRegisterRecord.h"

// Where a register keeps its records.
struct CRegisterOptions {
    // The shared register (CRegisterLocation::FromUrl); empty: the one on this computer only.
    std::string url;
    // The register on this computer: every record is written here first, and waits here for the
    // shared register.
    std::filesystem::path localFile;
    // Between attempts to reach a shared register that did not answer.
    std::chrono::milliseconds retry{std::chrono::seconds(30)};

    // The configuration's: the url given (the --register option) or else RegisterUrl, and
    // "register.sqlite" in the user's data folder.
    static CRegisterOptions FromConfiguration(const std::optional<std::string>& url = std::nullopt);
};

// How the register is doing, for the window and the command line to show.
struct CRegisterStatus {
    enum class State {
        kLocal,        // no shared register: every record is written on this computer
        kConnecting,   // the shared register has not answered yet
        kConnected,    // the shared register answers
        kUnreachable,  // the shared register did not answer; records wait here
        kLocalFailed,  // the register on this computer cannot be written
    };
    State state = State::kLocal;
    std::string location;  // the register queries go to
    std::string detail;    // why, when unreachable or failed (the text to show)
    int waiting = 0;       // records not yet in the shared register

    // What to tell the user; empty when nothing is amiss.
    std::string Text() const;
};

// The register of radio operations. Record() hands a record over and returns at once: a register
// thread writes it to the local SQLite file (and its outbox, when a register is shared) and a
// forwarder thread sends what waits to the shared register whenever it answers, so a radio
// operation never waits for, nor fails because of, the register. Record() may be called from
// any thread.
//
// Queries open their own connection on the calling thread (Qt SQL connections belong to one
// thread) and ask the shared register when there is one, else the local one; failures raise
// CQMVVLTException (kRegisterNotOpened, kRegisterQueryFailed) whose Message() is the text to
// show.
class CRegister {
  public:
    // A url that is not a register address raises kRegisterBadUrl; nothing waits for a database.
    explicit CRegister(CRegisterOptions options);
    // Writes every record handed over to the local register; sends what waits when the shared
    // register is connected (without trying to reach one that is not).
    ~CRegister();
    CRegister(const CRegister&) = delete;
    CRegister& operator=(const CRegister&) = delete;

    // Hands a record over (an empty id and time are filled in). Never throws, never waits.
    void Record(CRegisterRecord record) noexcept;
    // Waits until every record handed over so far is in the local register; false when the
    // local register cannot be written.
    bool Flush();
    // Tries the shared register now rather than at the next retry.
    void RetryNow();

    CRegisterStatus Status() const;
    // Called on a register thread whenever the status changes (a window posts it to itself).
    void SetStatusObserver(std::function<void(const CRegisterStatus&)> observer);

    // The records the filter keeps, oldest first.
    std::vector<CRegisterRecord> List(const CRegisterFilter& filter = {});
    // Every operation on the radio with this PID, oldest first.
    std::vector<CRegisterRecord> History(std::string_view pid);
    // The radios whose last successful write was of another profile than the one with this
    // ProfileHash: that write's record each, by PID.
    std::vector<CRegisterRecord> NotOnProfile(std::string_view profileHash);

    // Where queries go.
    const CRegisterLocation& QueryLocation() const { return m_shared ? *m_shared : m_local; }

  private:
    void WriterLoop();
    void ForwarderLoop();
    // Sends what waits in the outbox, and tells how many records still wait.
    void Forward(std::unique_ptr<CRegisterDatabase>& local,
                 std::unique_ptr<CRegisterDatabase>& shared);
    void SetStatus(CRegisterStatus::State state, std::string detail, std::optional<int> waiting);
    std::unique_ptr<CRegisterDatabase> OpenForQueries();

    const std::chrono::milliseconds m_retry;
    const CRegisterLocation m_local;
    const std::optional<CRegisterLocation> m_shared;

    mutable std::mutex m_mutex;
    std::condition_variable m_queued;     // to the writer
    std::condition_variable m_written;    // to Flush
    std::condition_variable m_forward;    // to the forwarder
    std::deque<CRegisterRecord> m_queue;  // handed over, not yet written
    std::uint64_t m_handed = 0;
    std::uint64_t m_done = 0;  // written locally
    bool m_localFailed = false;
    bool m_stopWriter = false;
    bool m_stopForwarder = false;
    bool m_forwardNow = false;
    CRegisterStatus m_status;
    std::function<void(const CRegisterStatus&)> m_observer;

    // Qt threads: Qt SQL keeps per-thread data that a thread Qt did not start would leak.
    std::unique_ptr<QThread> m_writer;
    std::unique_ptr<QThread> m_forwarder;
};
