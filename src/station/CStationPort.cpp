#include "CStationPort.h"

#include <ctime>

#include "CAppSettings.h"
#include "CQMVVLTException.h"
#include "CRadioBackup.h"
#include "CRegister.h"
#include "CStationCoordinator.h"
#include "CStationJob.h"
#include "CTransferOperations.h"
#include "CUnitList.h"
#include "CUnitProfile.h"
#include "CWireTrace.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StringTable.h"
#include "TextCodec.h"

namespace {

using Phase = CStationPortState::Phase;
using Clock = std::chrono::steady_clock;

constexpr const char* kContext = "CStationPort";
// A port that cannot be opened is tried again this many poll intervals later.
constexpr int kPortRetryIntervals = 4;

// The ports of a job share the application's settings for their backups, one at a time.
std::mutex& BackupMutex() {
    static std::mutex mutex;
    return mutex;
}

bool IsPortProblem(int code) {
    return code == kPortUnavailable || code == kPortBusy;
}

// "/dev/ttyUSB0" gives "dev_ttyUSB0": a port name as part of a file name.
std::string FileNamePart(const std::string& port) {
    std::string part;
    for (char c : port) {
        const bool plain =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (plain || c == '-') {
            part += c;
        } else if (!part.empty() && part.back() != '_') {
            part += '_';
        }
    }
    return part;
}

}  // namespace

CStationPort::CStationPort(int index, const CStationJob& job, CStationCoordinator& coordinator,
                           IStationObserver* observer)
    : m_index(index),
      m_job(job),
      m_coordinator(coordinator),
      m_observer(observer),
      m_port(job.ports[static_cast<std::size_t>(index)]),
      m_ui(job, m_context, coordinator,
           [this](Phase phase, int percent) {
               CStationPortState state = m_state;
               state.phase = phase;
               state.percent = percent;
               state.reason.clear();
               Announce(std::move(state));
           }),
      m_started(Clock::now()) {
    m_summary.port = m_port;
    m_context.finishPause = job.finishPause;
    m_context.SetObserver(&m_ui);
}

CStationPort::~CStationPort() {
    m_context.SetObserver(nullptr);
}

bool CStationPort::Hold() {
    return m_context.HoldPort(m_port);
}

CStationPortSummary CStationPort::Summary() const {
    std::lock_guard lock(m_summaryMutex);
    CStationPortSummary summary = m_summary;
    summary.seconds =
        std::chrono::duration<double>(m_ended.value_or(Clock::now()) - m_started).count();
    return summary;
}

void CStationPort::Announce(CStationPortState state) {
    if (m_announced && state == m_state) {
        return;
    }
    m_state = std::move(state);
    m_announced = true;
    if (m_observer) {
        m_observer->OnPortState(m_index, m_state);
    }
}

void CStationPort::StartTrace() {
    if (m_job.traceDir.empty()) {
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(m_job.traceDir, ec);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    auto trace = std::make_shared<CWireTrace>(
        m_job.traceDir / ("station-" + FileNamePart(m_port) + "-" + stamp + ".txt"));
    if (trace->IsOpen()) {
        m_context.SetTrace(std::move(trace));
    }
}

bool CStationPort::Prepare() {
    try {
        m_profile = std::make_unique<CUnitProfile>(m_job.environment, m_job.profile);
        m_jobProfileText = m_profile->ProfileText();
    } catch (const CQMVVLTException& e) {
        const std::string text = LoadString(e.Code());
        Announce({Phase::kFailed, 0, {}, {}, text.empty() ? e.Message() : text});
        return false;
    }
    StartTrace();
    m_chain = std::make_unique<CRadioCommandChain>(m_context, *m_job.environment.upDownGrade, m_ui);
    m_chain->SetBackupFolder(m_job.backupFolder);
    m_chain->SetVerify(m_job.verify);
    return true;
}

void CStationPort::Run() {
    const bool prepared = Prepare();
    std::optional<CVirtualCodeplug> radio;
    while (prepared && !m_coordinator.Stopping()) {
        if (!radio) {
            radio = WaitForRadio();
        } else if (HandleRadio(*radio)) {
            radio = WaitForRemoval(radio->limits.pid);
        } else {
            // No place for it in the job yet: look again later.
            radio.reset();
            m_coordinator.Pause(m_job.pollInterval);
        }
    }
    m_context.SetTrace(nullptr);
    m_context.ReleasePort();
    {
        std::lock_guard lock(m_summaryMutex);
        m_ended = Clock::now();
    }
    Announce({Phase::kStopped, 0, {}, {}, {}});
}

int CStationPort::Identify(CVirtualCodeplug& radio) {
    CTransferOperations operations(m_context);
    return operations.ReadIdentity(m_port, radio);
}

std::optional<CVirtualCodeplug> CStationPort::WaitForRadio() {
    while (!m_coordinator.Stopping()) {
        CVirtualCodeplug radio;
        const int code = Identify(radio);
        if (code == kRadioSuccess) {
            return radio;
        }
        if (code == kUserCancelled) {
            break;
        }
        if (IsPortProblem(code)) {
            Announce({Phase::kFailed,
                      0,
                      {},
                      {},
                      WithPortProblem(RadioResultText(code), code, m_context.PortProblem())});
            m_coordinator.Pause(m_job.pollInterval * kPortRetryIntervals);
            continue;
        }
        if (code != kNoConnection) {
            // Something answered that cannot be programmed (its version or model): said once,
            // recorded, and left alone until it is taken off.
            const auto answered = Clock::now();
            CStationRadioResult result;
            result.kind = CStationRadioResult::Kind::kFailed;
            result.record =
                CRegisterRecord::ForOperation(RegisterOperation::kStationWrite, m_port, code);
            result.record.outcomeText += "\n" + LoadString(MessageId::kStationUntouched);
            Finish(std::move(result), answered);
            if (auto other = WaitForRemoval(u"")) {
                return other;
            }
            continue;
        }
        Announce({Phase::kWaiting, 0, {}, {}, {}});
        m_coordinator.Pause(m_job.pollInterval);
    }
    return std::nullopt;
}

std::optional<CVirtualCodeplug> CStationPort::WaitForRemoval(const std::u16string& pid) {
    while (m_coordinator.Pause(m_job.pollInterval)) {
        CVirtualCodeplug radio;
        const int code = Identify(radio);
        if (code == kNoConnection) {
            Announce({Phase::kWaiting, 0, {}, {}, {}});
            return std::nullopt;
        }
        // Swapped between two polls: the next radio is already there.
        if (code == kRadioSuccess && radio.limits.pid != pid) {
            return radio;
        }
    }
    return std::nullopt;
}

bool CStationPort::HandleRadio(const CVirtualCodeplug& radio) {
    const auto answered = Clock::now();
    const std::string pid = Utf16ToUtf8(radio.limits.pid);
    const CUnit* unit = m_job.units ? m_job.units->Find(pid) : nullptr;
    if (m_job.listedOnly && !unit) {
        Finish(Refused(radio, unit, MessageId::kStationNotListed), answered);
        return true;
    }
    if (m_coordinator.Written(pid)) {
        Finish(Refused(radio, unit, MessageId::kStationAlreadyWritten), answered);
        return true;
    }
    if (!m_coordinator.Reserve()) {
        return false;
    }
    CStationRadioResult result = Program(radio, unit);
    m_coordinator.Release(pid, result.kind == CStationRadioResult::Kind::kWritten);
    Finish(std::move(result), answered);
    return true;
}

CStationRadioResult CStationPort::Refused(const CVirtualCodeplug& radio, const CUnit* unit,
                                          int messageId) {
    CStationRadioResult result;
    result.kind = CStationRadioResult::Kind::kRefused;
    result.record =
        CRegisterRecord::ForOperation(RegisterOperation::kStationWrite, m_port, kUserCancelled);
    result.record.SetRadio(radio.limits.pid, radio);
    result.record.SetProfile(m_job.profileFile, m_jobProfileText);
    if (unit) {
        result.record.SetUnit(*unit);
    }
    result.record.outcomeText = LoadString(messageId);
    return result;
}

CStationRadioResult CStationPort::Program(const CVirtualCodeplug& radio, const CUnit* unit) {
    CStationPortState reading{
        Phase::kReading, 0, Utf16ToUtf8(radio.limits.pid), unit ? unit->label : "", {}};
    Announce(reading);
    m_ui.BeginRadio();
    CWriteSource source;
    source.radio = &radio;
    source.image = [&](std::u16string_view ownPid) {
        m_profile->Apply(unit);
        return m_profile->Image(ownPid);
    };
    source.modelGroup = m_profile->Model().GetModelGroup();
    source.saveBackup = [this](const CRadioBackup& backup, const CVirtualCodeplug& codeplug) {
        if (!m_job.app) {
            ThrowQMVVLT(MessageId::kBackupNotWritten, kContext, backup.Folder().string());
        }
        std::lock_guard lock(BackupMutex());
        return backup.Save(codeplug, *m_job.app, m_job.environment.installPath);
    };
    CRadioCommandOutcome outcome;
    const int code = m_chain->WriteImage(m_port, source, outcome);

    CStationRadioResult result;
    CRegisterRecord& record = result.record;
    record = CRegisterRecord::ForOperation(RegisterOperation::kStationWrite, m_port, code);
    record.SetRadio(radio.limits.pid, radio);
    record.SetProfile(m_job.profileFile, m_jobProfileText,
                      outcome.written ? &*outcome.written : nullptr);
    if (unit) {
        record.SetUnit(*unit);
    }
    record.backupFile = outcome.backupFile.string();
    if (m_ui.VerifyCode() != 0) {
        record.verify = m_ui.VerifyCode() != kRadioSuccess ? RegisterVerify::kFailed
                        : m_chain->VerifyMismatch()        ? RegisterVerify::kDifferent
                                                           : RegisterVerify::kPassed;
    }
    if (code == kRadioSuccess) {
        result.kind = CStationRadioResult::Kind::kWritten;
        return result;
    }
    if (m_ui.Refusal() != 0 && !m_ui.Touched()) {
        result.kind = CStationRadioResult::Kind::kRefused;
        record.outcomeText = LoadString(m_ui.Refusal());
        return result;
    }
    result.kind = CStationRadioResult::Kind::kFailed;
    if (m_chain->ProfileRefused()) {
        record.outcomeText = m_ui.Messages();
    } else if (m_chain->VerifyMismatch()) {
        record.outcomeText = LoadString(MessageId::kVerifyFailed);
    } else if (m_ui.VerifyCode() != 0) {
        record.outcomeText = LoadString(MessageId::kNotVerified) + "\n" + RadioResultText(code);
        return result;  // written completely; only the read-back failed
    } else if (m_chain->BackupFailed()) {
        record.outcomeText = m_ui.Messages();
    } else {
        record.outcomeText = WithPortProblem(RadioResultText(code), code, m_context.PortProblem());
    }
    result.partlyProgrammed = m_ui.Touched();
    record.outcomeText += "\n" + LoadString(result.partlyProgrammed ? MessageId::kPartlyProgrammed
                                                                    : MessageId::kStationUntouched);
    return result;
}

void CStationPort::Finish(CStationRadioResult result, Clock::time_point answered) {
    result.seconds = std::chrono::duration<double>(Clock::now() - answered).count();
    if (m_job.reg) {
        m_job.reg->Record(result.record);
    }
    {
        std::lock_guard lock(m_summaryMutex);
        switch (result.kind) {
            case CStationRadioResult::Kind::kWritten:
                ++m_summary.written;
                break;
            case CStationRadioResult::Kind::kFailed:
                ++m_summary.failed;
                break;
            case CStationRadioResult::Kind::kRefused:
                ++m_summary.refused;
                break;
        }
    }
    if (m_observer) {
        m_observer->OnRadio(m_index, result);
    }
    const CRegisterRecord& record = result.record;
    const Phase phase = result.kind == CStationRadioResult::Kind::kWritten  ? Phase::kDone
                        : result.kind == CStationRadioResult::Kind::kFailed ? Phase::kFailed
                                                                            : Phase::kRemoveRadio;
    Announce({phase, 0, record.pid, record.unit,
              phase == Phase::kDone ? std::string() : record.outcomeText});
}
