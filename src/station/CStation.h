#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "CStationCoordinator.h"
#include "CStationJob.h"
#include "CStationPort.h"
#include "IStationObserver.h"

class CTransferWorker;

// The programming station: one CStationPort per port of the job, each on a thread of its own, so
// a port that waits, fails or is slow never holds up another. The job ends when it is stopped or
// its count of radios has been written; every port then stops at a safe point (a running
// operation is cancelled between two exchanges, and the radio is recorded as untouched or partly
// programmed).
class CStation {
  public:
    // job is kept; what it points to (unit list, register, settings) must outlive the station.
    CStation(CStationJob job, IStationObserver* observer = nullptr);
    // Stops the job and waits for its ports.
    ~CStation();
    CStation(const CStation&) = delete;
    CStation& operator=(const CStation&) = delete;

    // Holds every port and starts its loop. Nothing starts (false) when the unit list has
    // refusals or a port is in use by another operation of this program (BusyPort()).
    bool Start();
    const std::string& BusyPort() const { return m_busyPort; }

    // Ends the job (from any thread, also from an observer call).
    void Stop();
    // Waits until every port has stopped (ms < 0: without limit); true once they have.
    bool Wait(int ms = -1);

    // Each port's counts, in the job's order, so far or at the end.
    std::vector<CStationPortSummary> Summary() const;
    // The ports' counts added up, over the time of the longest.
    static CStationPortSummary Total(const std::vector<CStationPortSummary>& ports);

  private:
    const CStationJob m_job;
    IStationObserver* const m_observer;
    CStationCoordinator m_coordinator;
    std::vector<std::unique_ptr<CStationPort>> m_ports;
    std::vector<std::unique_ptr<CTransferWorker>> m_workers;
    std::atomic<int> m_running{0};
    std::string m_busyPort;
};
