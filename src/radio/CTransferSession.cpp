#include "CTransferSession.h"

#include <thread>

#include "CBlockCodec.h"
#include "RadioResult.h"

namespace {
constexpr std::uint8_t kPhaseRelease = 'R';
constexpr std::uint8_t kPhaseDevelopment = 'D';
constexpr int kAcceptedRelease = 94;
constexpr int kHighestAcceptedVersion = 8;
constexpr int kModifiedBandCompatibility = 15;
}  // namespace

CTransferSession::CTransferSession(CTransferContext& context, const std::string& port)
    : m_context(context), m_lock(context.Lock(), std::defer_lock), m_protocol(nullptr) {
    if (context.LockOwner() == std::this_thread::get_id()) {
        // Started from an observer callback of the running operation: waiting for the lock would
        // wait for ourselves. This session touches nothing shared and ends at once.
        m_reentered = true;
        m_code = kRadioBusy;
        return;
    }
    m_lock.lock();
    context.SetLockOwner(std::this_thread::get_id());
    context.ClearFailed();
    context.SetRadioTouched(false);
    m_trace = context.Trace();
    if (!context.Holds(port)) {
        m_claim = CPortRegistry::Instance().TryClaim(port);
        if (!m_claim) {
            context.SetPortProblem({});
            if (m_trace) {
                m_trace->Note("open " + port + " refused: in use by another operation");
            }
            Fail(kPortBusy);
            return;
        }
    }
    m_port = context.OpenPort(port);
    context.SetPortProblem(m_port && !m_port->IsOpen() ? m_port->OpenProblem() : std::string());
    m_protocol.SetStream(m_port.get());
    m_protocol.SetFinishPause(context.finishPause);
    if (m_trace) {
        const std::string problem = context.PortProblem();
        m_trace->Note("open " + port + (problem.empty() ? "" : " failed: " + problem));
        m_protocol.SetTrace(m_trace.get());
    }
}

CTransferSession::~CTransferSession() {
    Finish();
}

bool CTransferSession::Proceed() const {
    return !m_reentered && !m_context.Cancelled() && !m_context.Failed();
}

void CTransferSession::Fail(int code) {
    if (m_reentered) {
        return;
    }
    if (!m_context.Failed()) {
        m_code = code;
    }
    m_context.SetFailed();
}

bool CTransferSession::Check(int code) {
    if (code == kRadioSuccess) {
        return true;
    }
    Fail(code);
    return false;
}

void CTransferSession::Progress(int percent) const {
    if (auto* observer = m_context.Observer()) {
        observer->OnProgress(percent);
    }
}

void CTransferSession::Record(int done, int total) const {
    if (auto* observer = m_context.Observer()) {
        observer->OnRecord(done, total);
    }
}

int CTransferSession::Finish() {
    if (m_finished) {
        return m_result;
    }
    m_finished = true;
    if (m_reentered) {
        m_result = m_code;
        return m_result;
    }
    if (m_committed) {
        // The radio acknowledged FinishWrite: it holds the whole profile, whatever came after.
        m_result = kRadioSuccess;
    } else if (m_context.Cancelled() && !(m_failureFirst && m_context.Failed())) {
        m_result = kUserCancelled;
    } else if (m_context.Failed()) {
        m_result = m_code;
    } else {
        m_result = kRadioSuccess;
    }
    // The port closes before anyone hears the outcome, so a next operation can open it at once.
    m_protocol.SetStream(nullptr);
    m_protocol.SetTrace(nullptr);
    m_port.reset();
    m_claim.Release();
    if (m_trace) {
        m_trace->Note("close, result " + std::to_string(m_result));
    }
    if (auto* observer = m_context.Observer()) {
        if (m_result == kRadioSuccess) {
            observer->OnDone();
        } else {
            observer->OnFailed(static_cast<RadioResult>(m_result));
        }
    }
    m_context.SetLockOwner({});
    m_lock.unlock();
    return m_result;
}

void CTransferSession::Identify(CVirtualCodeplug& image) {
    if (!Proceed() || !Check(m_protocol.GetVersion())) {
        return;
    }
    CVersionBlock version;
    if (!Check(CBlockCodec::DecodeVersion(m_protocol.Reply().Data().subspan(1), version))) {
        return;
    }
    const std::uint8_t phase = version.firmware_phase;
    const bool accepted =
        phase == kPhaseDevelopment ||
        (version.firmware_release == kAcceptedRelease &&
         static_cast<std::uint8_t>(version.firmware_version) <= kHighestAcceptedVersion);
    if (phase != kPhaseRelease) {
        version.firmware_phase = kPhaseDevelopment;
    }
    if (!accepted) {
        Fail(kVersionUnsupported);
        return;
    }
    image.version = version;
    m_context.NoteRadioVersion(version);
    if (Proceed()) {
        Check(m_protocol.OpenLink());
    }
}

void CTransferSession::CheckCompatibility(CVirtualCodeplug& image) {
    if (!Proceed() || !Check(m_protocol.ReadLimits())) {
        return;
    }
    if (!Check(CBlockCodec::DecodeLimits(m_protocol.Reply().Data().subspan(1), image.limits))) {
        return;
    }
    m_context.NoteRadioLimits(image.limits);
    const int family = image.limits.clone_compatibility_version;
    if (family != CTransferContext::kHostCompatibility && family != kModifiedBandCompatibility) {
        Fail(kModelUnsupported);
    }
}
