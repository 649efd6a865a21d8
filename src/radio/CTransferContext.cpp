#include "CTransferContext.h"

#include "SerialPort.h"

namespace {
constexpr std::size_t kPidTextChars = 63;
}

CTransferContext::CTransferContext()
    : m_portFactory([](const std::string& port) { return std::make_unique<SerialPort>(port); }) {}

bool CTransferContext::HoldPort(const std::string& port) {
    std::lock_guard lock(m_holdMutex);
    if (m_held.Covers(port)) {
        return true;
    }
    m_held.Release();
    m_held = CPortRegistry::Instance().TryClaim(port);
    return static_cast<bool>(m_held);
}

void CTransferContext::ReleasePort() {
    std::lock_guard lock(m_holdMutex);
    m_held.Release();
}

std::string CTransferContext::HeldPort() const {
    std::lock_guard lock(m_holdMutex);
    return m_held.Port();
}

bool CTransferContext::Holds(const std::string& port) const {
    std::lock_guard lock(m_holdMutex);
    return m_held.Covers(port);
}

void CTransferContext::RequestCancel() {
    {
        std::lock_guard lock(m_answerMutex);
        m_cancel = true;
    }
    m_answered.notify_all();
}

bool CTransferContext::Warn(TransferWarning warning) {
    {
        std::lock_guard lock(m_answerMutex);
        m_waiting = true;
        m_hasAnswer = false;
    }
    if (auto* observer = Observer()) {
        observer->OnWarning(warning);
    } else {
        // Nobody to ask: nothing is written unasked.
        AnswerWarning(false);
    }
    std::unique_lock lock(m_answerMutex);
    m_answered.wait(lock, [this] { return m_hasAnswer || m_cancel; });
    m_waiting = false;
    if (m_hasAnswer && !m_answer) {
        m_cancel = true;
    }
    return !m_cancel;
}

void CTransferContext::AnswerWarning(bool yes) {
    {
        std::lock_guard lock(m_answerMutex);
        if (!m_waiting) {
            return;
        }
        m_hasAnswer = true;
        m_answer = yes;
    }
    m_answered.notify_all();
}

std::unique_ptr<IByteStream> CTransferContext::OpenPort(const std::string& port) const {
    return m_portFactory(port);
}

void CTransferContext::SetCurrentRadioPid(std::u16string pid) {
    std::lock_guard lock(m_pidMutex);
    m_currentRadioPid = pid.substr(0, kPidTextChars);
}

std::u16string CTransferContext::CurrentRadioPid() const {
    std::lock_guard lock(m_pidMutex);
    return m_currentRadioPid;
}

void CTransferContext::SetCapturedPid(std::u16string pid) {
    std::lock_guard lock(m_pidMutex);
    m_capturedPid = pid.substr(0, kPidTextChars);
}

std::u16string CTransferContext::CapturedPid() const {
    std::lock_guard lock(m_pidMutex);
    return m_capturedPid;
}

void CTransferContext::SetPortProblem(std::string text) {
    std::lock_guard lock(m_pidMutex);
    m_portProblem = std::move(text);
}

std::string CTransferContext::PortProblem() const {
    std::lock_guard lock(m_pidMutex);
    return m_portProblem;
}

void CTransferContext::SetTrace(std::shared_ptr<CWireTrace> trace) {
    std::lock_guard lock(m_pidMutex);
    m_trace = std::move(trace);
}

std::shared_ptr<CWireTrace> CTransferContext::Trace() const {
    std::lock_guard lock(m_pidMutex);
    return m_trace;
}

void CTransferContext::NoteRadioVersion(const CVersionBlock& version) {
    const std::lock_guard lock(m_pidMutex);
    m_seen.version = version;
}

void CTransferContext::NoteRadioLimits(const CRadioLimits& limits) {
    const std::lock_guard lock(m_pidMutex);
    m_seen.limits = limits;
}

CTransferContext::RadioSeen CTransferContext::SeenRadio() const {
    const std::lock_guard lock(m_pidMutex);
    return m_seen;
}

void CTransferContext::ForgetRadio() {
    const std::lock_guard lock(m_pidMutex);
    m_seen = {};
}
