#include "CRadioSeries.h"

#include <algorithm>

#include "AtomicFile.h"
#include "CQMVVLTException.h"
#include "CVirtualCodeplugJson.h"
#include "MessageId.h"
#include "RadioProtocol.h"
#include "TextCodec.h"

namespace {

bool IsWriteFrame(std::uint8_t opcode) {
    return opcode == kOpWriteSettings || opcode == kOpWriteContact ||
           opcode == kOpWriteTextMessage || opcode == kOpFinishWrite;
}

// The decimal number text plus one, as wide as it was at least ("10000009" gives "10000010").
std::u16string Next(std::u16string pid) {
    for (auto it = pid.rbegin(); it != pid.rend(); ++it) {
        if (*it != u'9') {
            ++*it;
            return pid;
        }
        *it = u'0';
    }
    return u'1' + pid;
}

}  // namespace

std::vector<std::u16string> CRadioSeries::Pids(const CSimSeries& series,
                                               const std::u16string& first, std::string& error) {
    if (!series.pids.empty()) {
        return series.pids;
    }
    const bool digits = !first.empty() && std::all_of(first.begin(), first.end(), [](char16_t c) {
        return c >= u'0' && c <= u'9';
    });
    if (!digits) {
        error = "the start image's PID is not a number to count up from: use --series-pids";
        return {};
    }
    std::vector<std::u16string> pids{first};
    while (static_cast<int>(pids.size()) < series.count) {
        pids.push_back(Next(pids.back()));
    }
    return pids;
}

CRadioSeries::CRadioSeries(const CVirtualCodeplug& start, CSimFaults faults, CSimSeries series,
                           Log log)
    : m_start(start),
      m_faults(faults),
      m_series(std::move(series)),
      m_log(std::move(log)),
      m_now([] { return Clock::now(); }) {
    std::string error;
    m_pids = Pids(m_series, m_start.limits.pid, error);
    std::lock_guard lock(m_mutex);
    Arrive(m_now());
}

void CRadioSeries::SetFinishDelayMs(int ms) {
    std::lock_guard lock(m_mutex);
    m_finishDelayMs = ms;
    if (m_radio) {
        m_radio->SetFinishDelayMs(ms);
    }
}

void CRadioSeries::SetCapture(std::u16string pid, int waitingPolls) {
    std::lock_guard lock(m_mutex);
    m_capturePid = std::move(pid);
    m_captureWaitingPolls = waitingPolls;
    if (m_radio) {
        m_radio->SetCapture(m_capturePid, m_captureWaitingPolls);
    }
}

void CRadioSeries::SetClock(std::function<Clock::time_point()> now) {
    std::lock_guard lock(m_mutex);
    m_now = std::move(now);
}

std::vector<std::uint8_t> CRadioSeries::Handle(std::uint8_t opcode,
                                               const std::vector<std::uint8_t>& data) {
    std::lock_guard lock(m_mutex);
    const auto now = m_now();
    if (m_radio && m_writeFrames == 0 && m_series.dwell.count() > 0 &&
        now - m_arrived >= m_series.dwell) {
        TakeOff(m_arrived + m_series.dwell, "left without being written");
    }
    if (!m_radio) {
        if (m_place >= static_cast<int>(m_pids.size()) || now < m_emptyUntil) {
            return {};
        }
        Arrive(now);
    }
    if (m_written && opcode == kOpGetVersion && ++m_versionsSinceWrite > m_series.stayVersions) {
        TakeOff(now, "taken off after its write");
        return {};
    }
    if (IsWriteFrame(opcode)) {
        ++m_writeFrames;
        const bool pulled = std::any_of(
            m_series.pullOuts.begin(), m_series.pullOuts.end(),
            [&](const auto& p) { return p.radio == m_place && p.frame == m_writeFrames; });
        if (pulled) {
            TakeOff(now, "pulled out during a write");
            return {};
        }
    }
    const int commits = m_radio->CommittedWrites();
    auto reply = m_radio->Handle(opcode, data);
    if (m_radio->CommittedWrites() != commits) {
        m_written = true;
        m_versionsSinceWrite = 0;
    }
    return reply;
}

bool CRadioSeries::HungUp() const {
    std::lock_guard lock(m_mutex);
    return m_radio && m_radio->HungUp();
}

int CRadioSeries::FinishDelayMs() const {
    std::lock_guard lock(m_mutex);
    return m_finishDelayMs;
}

std::vector<CRadioSeries::Unit> CRadioSeries::Units() const {
    std::lock_guard lock(m_mutex);
    std::vector<Unit> units = m_done;
    if (m_radio) {
        units.push_back(Unit{m_place, m_pids[static_cast<std::size_t>(m_place - 1)],
                             m_radio->Image(), m_written});
    }
    return units;
}

int CRadioSeries::Current() const {
    std::lock_guard lock(m_mutex);
    return m_radio ? m_place : 0;
}

void CRadioSeries::SaveCurrent() {
    std::lock_guard lock(m_mutex);
    if (m_radio) {
        Save(Unit{m_place, m_pids[static_cast<std::size_t>(m_place - 1)], m_radio->Image(),
                  m_written});
    }
}

void CRadioSeries::Arrive(Clock::time_point now) {
    if (m_place >= static_cast<int>(m_pids.size())) {
        return;
    }
    CVirtualCodeplug image = m_start;
    image.limits.pid = m_pids[static_cast<std::size_t>(m_place)];
    ++m_place;
    m_radio = std::make_unique<CVirtualRadio>(std::move(image), m_faults);
    m_radio->SetFinishDelayMs(m_finishDelayMs);
    m_radio->SetCapture(m_capturePid, m_captureWaitingPolls);
    m_arrived = now;
    m_written = false;
    m_versionsSinceWrite = 0;
    m_writeFrames = 0;
    Note("radio " + std::to_string(m_place) + " (PID " +
         Utf16ToUtf8(m_pids[static_cast<std::size_t>(m_place - 1)]) + ") on the cable");
}

void CRadioSeries::TakeOff(Clock::time_point now, const char* why) {
    Unit unit{m_place, m_pids[static_cast<std::size_t>(m_place - 1)], m_radio->Image(), m_written};
    m_radio.reset();
    m_emptyUntil = now + m_series.swap;
    Note("radio " + std::to_string(unit.place) + " (PID " + Utf16ToUtf8(unit.pid) + ") " + why);
    Save(unit);
    m_done.push_back(std::move(unit));
}

void CRadioSeries::Save(const Unit& unit) const {
    if (m_series.folder.empty()) {
        return;
    }
    const auto path =
        m_series.folder / (std::to_string(unit.place) + "-" + Utf16ToUtf8(unit.pid) + ".json");
    try {
        WriteFileAtomically(path, CVirtualCodeplugJson::ToJson(unit.image),
                            MessageId::kFailedToSave, "CRadioSeries::Save");
    } catch (const CQMVVLTException& e) {
        Note("cannot save " + path.string() + ": " + e.Message());
    }
}

void CRadioSeries::Note(const std::string& text) const {
    if (m_log) {
        m_log(text);
    }
}
