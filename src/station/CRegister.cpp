#include "CRegister.h"

#include <QUuid>

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "StringTable.h"
#include "Utility.h"

namespace {

constexpr int kForwardBatch = 500;

std::optional<CRegisterLocation> SharedLocation(const std::string& url) {
    if (url.empty()) {
        return std::nullopt;
    }
    return CRegisterLocation::FromUrl(url);
}

}  // namespace

CRegisterOptions CRegisterOptions::FromConfiguration(const std::optional<std::string>& url) {
    CRegisterOptions options;
    options.url = url ? *url : Utility::GetRegisterUrl();
    options.localFile = Utility::UserDataFolder() / "register.sqlite";
    return options;
}

std::string CRegisterStatus::Text() const {
    std::string text;
    if (state == State::kLocalFailed) {
        text = detail + "\n" + LoadString(MessageId::kRegisterLocalFailed);
    } else if (state == State::kUnreachable) {
        text = detail;
    }
    if (waiting > 0 && state != State::kLocal) {
        text += (text.empty() ? "" : "\n") +
                CStringTable::Instance().Format(MessageId::kRegisterPending,
                                                {std::to_string(waiting), location});
    }
    return text;
}

CRegister::CRegister(CRegisterOptions options)
    : m_retry(options.retry),
      m_local(CRegisterLocation::Sqlite(options.localFile)),
      m_shared(SharedLocation(options.url)) {
    m_status.state =
        m_shared ? CRegisterStatus::State::kConnecting : CRegisterStatus::State::kLocal;
    m_status.location = QueryLocation().display;
    m_writer.reset(QThread::create([this] { WriterLoop(); }));
    m_writer->start();
    if (m_shared) {
        m_forwarder.reset(QThread::create([this] { ForwarderLoop(); }));
        m_forwarder->start();
    }
}

CRegister::~CRegister() {
    {
        const std::lock_guard lock(m_mutex);
        m_stopWriter = true;
    }
    m_queued.notify_all();
    m_writer->wait();
    if (m_forwarder) {
        {
            const std::lock_guard lock(m_mutex);
            m_stopForwarder = true;
        }
        m_forward.notify_all();
        m_forwarder->wait();
    }
}

void CRegister::Record(CRegisterRecord record) noexcept {
    try {
        if (record.id.empty()) {
            record.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
        }
        if (record.time.empty()) {
            record.time = RegisterTimeNow();
        }
        {
            const std::lock_guard lock(m_mutex);
            m_queue.push_back(std::move(record));
            ++m_handed;
        }
        m_queued.notify_one();
    } catch (...) {
        // Out of memory: the operation goes on without its record rather than fail.
    }
}

bool CRegister::Flush() {
    std::unique_lock lock(m_mutex);
    const std::uint64_t target = m_handed;
    m_written.wait(lock, [&] { return m_done >= target || m_localFailed; });
    return m_done >= target;
}

void CRegister::RetryNow() {
    {
        const std::lock_guard lock(m_mutex);
        m_forwardNow = true;
    }
    m_forward.notify_all();
}

CRegisterStatus CRegister::Status() const {
    const std::lock_guard lock(m_mutex);
    return m_status;
}

void CRegister::SetStatusObserver(std::function<void(const CRegisterStatus&)> observer) {
    const std::lock_guard lock(m_mutex);
    m_observer = std::move(observer);
}

void CRegister::SetStatus(CRegisterStatus::State state, std::string detail,
                          std::optional<int> waiting) {
    CRegisterStatus now;
    std::function<void(const CRegisterStatus&)> observer;
    {
        const std::lock_guard lock(m_mutex);
        const CRegisterStatus before = m_status;
        m_status.state = state;
        m_status.detail = std::move(detail);
        if (waiting) {
            m_status.waiting = *waiting;
        }
        if (m_status.state == before.state && m_status.detail == before.detail &&
            m_status.waiting == before.waiting) {
            return;
        }
        now = m_status;
        observer = m_observer;
    }
    if (observer) {
        observer(now);
    }
}

void CRegister::WriterLoop() {
    std::unique_ptr<CRegisterDatabase> local;
    for (;;) {
        std::vector<CRegisterRecord> batch;
        {
            std::unique_lock lock(m_mutex);
            m_queued.wait(lock, [&] { return m_stopWriter || !m_queue.empty(); });
            if (m_queue.empty()) {
                return;  // stopping, and everything is written
            }
            batch.assign(std::make_move_iterator(m_queue.begin()),
                         std::make_move_iterator(m_queue.end()));
            m_queue.clear();
        }
        try {
            if (!local) {
                local = std::make_unique<CRegisterDatabase>(m_local);
            }
            local->Insert(batch, m_shared.has_value());
            bool recovered = false;
            {
                const std::lock_guard lock(m_mutex);
                m_done += batch.size();
                recovered = m_localFailed;
                m_localFailed = false;
                m_forwardNow = true;
            }
            m_written.notify_all();
            m_forward.notify_all();
            if (recovered) {
                SetStatus(
                    m_shared ? CRegisterStatus::State::kConnecting : CRegisterStatus::State::kLocal,
                    {}, std::nullopt);
            }
        } catch (const CQMVVLTException& e) {
            local.reset();
            bool stopping = false;
            {
                const std::lock_guard lock(m_mutex);
                m_queue.insert(m_queue.begin(), std::make_move_iterator(batch.begin()),
                               std::make_move_iterator(batch.end()));
                m_localFailed = true;
                stopping = m_stopWriter;
            }
            m_written.notify_all();
            SetStatus(CRegisterStatus::State::kLocalFailed, e.Message(), std::nullopt);
            if (stopping) {
                return;  // nowhere to keep them
            }
            std::unique_lock lock(m_mutex);
            m_queued.wait_for(lock, m_retry, [&] { return m_stopWriter; });
        }
    }
}

void CRegister::ForwarderLoop() {
    std::unique_ptr<CRegisterDatabase> local;
    std::unique_ptr<CRegisterDatabase> shared;
    bool first = true;
    for (;;) {
        bool last = false;
        {
            std::unique_lock lock(m_mutex);
            if (!first) {
                m_forward.wait_for(lock, m_retry, [&] { return m_forwardNow || m_stopForwarder; });
            }
            first = false;
            m_forwardNow = false;
            last = m_stopForwarder;
        }
        // At the end, send what waits over a connection that works, but do not hold the program
        // up trying to reach a register that did not answer.
        if (!last || shared) {
            Forward(local, shared);
        }
        if (last) {
            return;
        }
    }
}

void CRegister::Forward(std::unique_ptr<CRegisterDatabase>& local,
                        std::unique_ptr<CRegisterDatabase>& shared) {
    try {
        if (!local) {
            local = std::make_unique<CRegisterDatabase>(m_local);
        }
    } catch (const CQMVVLTException&) {
        return;  // the writer reports the local register
    }
    try {
        if (!shared) {
            shared = std::make_unique<CRegisterDatabase>(*m_shared);
        }
        for (;;) {
            const std::vector<CRegisterRecord> batch = local->Outbox(kForwardBatch);
            if (batch.empty()) {
                break;
            }
            shared->Insert(batch);
            local->RemoveFromOutbox(batch);
        }
        SetStatus(CRegisterStatus::State::kConnected, {}, local->OutboxCount());
    } catch (const CQMVVLTException& e) {
        // A connection that failed is opened afresh next time.
        shared.reset();
        std::optional<int> waiting;
        try {
            waiting = local->OutboxCount();
        } catch (const CQMVVLTException&) {
        }
        SetStatus(CRegisterStatus::State::kUnreachable, e.Message(), waiting);
    }
}

std::unique_ptr<CRegisterDatabase> CRegister::OpenForQueries() {
    if (!m_shared) {
        Flush();
    }
    return std::make_unique<CRegisterDatabase>(QueryLocation());
}

std::vector<CRegisterRecord> CRegister::List(const CRegisterFilter& filter) {
    return OpenForQueries()->List(filter);
}

std::vector<CRegisterRecord> CRegister::History(std::string_view pid) {
    CRegisterFilter filter;
    filter.pid = pid;
    return List(filter);
}

std::vector<CRegisterRecord> CRegister::NotOnProfile(std::string_view profileHash) {
    return OpenForQueries()->NotOnProfile(profileHash);
}
