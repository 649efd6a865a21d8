#include "CStation.h"

#include <algorithm>
#include <chrono>

#include "CTransferWorker.h"
#include "CUnitList.h"

CStation::CStation(CStationJob job, IStationObserver* observer)
    : m_job(std::move(job)), m_observer(observer), m_coordinator(m_job.count, [this] {
          for (const auto& port : m_ports) {
              port->Cancel();
          }
      }) {}

CStation::~CStation() {
    Stop();
    Wait();
}

bool CStation::Start() {
    if (!m_ports.empty() || (m_job.units && !m_job.units->Accepted())) {
        return false;
    }
    std::vector<std::unique_ptr<CStationPort>> ports;
    for (std::size_t i = 0; i < m_job.ports.size(); ++i) {
        auto port =
            std::make_unique<CStationPort>(static_cast<int>(i), m_job, m_coordinator, m_observer);
        if (!port->Hold()) {
            m_busyPort = port->Port();
            return false;  // the ports held so far are released with them
        }
        ports.push_back(std::move(port));
    }
    m_ports = std::move(ports);
    m_running = static_cast<int>(m_ports.size());
    for (const auto& port : m_ports) {
        auto worker = std::make_unique<CTransferWorker>([this, p = port.get()] {
            p->Run();
            if (--m_running == 0 && m_observer) {
                m_observer->OnFinished();
            }
        });
        worker->Start();
        m_workers.push_back(std::move(worker));
    }
    return true;
}

void CStation::Stop() {
    m_coordinator.Stop();
}

bool CStation::Wait(int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (const auto& worker : m_workers) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (!worker->Wait(ms < 0 ? -1 : static_cast<int>(std::max<long long>(left.count(), 0)))) {
            return false;
        }
    }
    return true;
}

std::vector<CStationPortSummary> CStation::Summary() const {
    std::vector<CStationPortSummary> summary;
    for (const auto& port : m_ports) {
        summary.push_back(port->Summary());
    }
    return summary;
}

CStationPortSummary CStation::Total(const std::vector<CStationPortSummary>& ports) {
    CStationPortSummary total;
    for (const CStationPortSummary& port : ports) {
        total.written += port.written;
        total.failed += port.failed;
        total.refused += port.refused;
        total.seconds = std::max(total.seconds, port.seconds);
    }
    return total;
}
