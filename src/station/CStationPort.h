#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "CRadioCommandChain.h"
#include "CStationRadioUi.h"
#include "CTransferContext.h"
#include "CVirtualCodeplug.h"
#include "IStationObserver.h"

class CStationCoordinator;
class CUnitProfile;
struct CStationJob;
struct CUnit;

// What one port did in a job.
struct CStationPortSummary {
    std::string port;
    int written = 0;
    int failed = 0;
    int refused = 0;
    double seconds = 0;  // from the start of the job to the port's end (or now)

    double RadiosPerHour() const { return seconds > 0 ? written * 3600.0 / seconds : 0; }
};

// One port of a programming station, radio after radio: it polls the cable until a radio answers,
// reads who it is, refuses it (nothing sent) when the job does not want it, or else backs it up,
// writes it the job's profile with its unit's settings, verifies it, records it, and then waits
// until the radio is taken off before it looks for the next one. A failure is recorded and the
// port goes on. Stopping cancels the running operation between two exchanges.
class CStationPort {
  public:
    CStationPort(int index, const CStationJob& job, CStationCoordinator& coordinator,
                 IStationObserver* observer);
    ~CStationPort();
    CStationPort(const CStationPort&) = delete;
    CStationPort& operator=(const CStationPort&) = delete;

    // Reserves the port for the whole job; false when another operation of this program uses it.
    bool Hold();
    // The loop, on the port's own thread (a QThread, as every user of a serial port); returns
    // when the job ends, with the port released.
    void Run();
    // Cancels the running radio operation at its next exchange (from any thread).
    void Cancel() { m_context.RequestCancel(); }

    const std::string& Port() const { return m_port; }
    CStationPortSummary Summary() const;

  private:
    // The port's copy of the job's profile, its trace and its command chain; false (said as the
    // port's state) when the profile cannot be loaded.
    bool Prepare();
    // The radio on the cable (version and limits); kNoConnection when the cable is silent.
    int Identify(CVirtualCodeplug& radio);
    // Polls until a radio answers; nothing when the job ends first.
    std::optional<CVirtualCodeplug> WaitForRadio();
    // Polls until the radio with this PID is taken off (nothing) or another one answers (it).
    std::optional<CVirtualCodeplug> WaitForRemoval(const std::u16string& pid);
    // False when the job has no place for the radio now (its count is nearly reached).
    bool HandleRadio(const CVirtualCodeplug& radio);
    CStationRadioResult Program(const CVirtualCodeplug& radio, const CUnit* unit);
    CStationRadioResult Refused(const CVirtualCodeplug& radio, const CUnit* unit, int messageId);
    // Records the radio, counts it, tells the observer and shows the outcome on the port.
    void Finish(CStationRadioResult result, std::chrono::steady_clock::time_point answered);
    void Announce(CStationPortState state);
    void StartTrace();

    const int m_index;
    const CStationJob& m_job;
    CStationCoordinator& m_coordinator;
    IStationObserver* const m_observer;
    const std::string m_port;
    CTransferContext m_context;
    CStationRadioUi m_ui;
    std::unique_ptr<CUnitProfile> m_profile;
    std::unique_ptr<CRadioCommandChain> m_chain;
    std::string m_jobProfileText;
    CStationPortState m_state;
    bool m_announced = false;

    mutable std::mutex m_summaryMutex;
    CStationPortSummary m_summary;
    std::chrono::steady_clock::time_point m_started;
    std::optional<std::chrono::steady_clock::time_point> m_ended;
};
