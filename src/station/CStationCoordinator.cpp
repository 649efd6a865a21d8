#include "CStationCoordinator.h"

CStationCoordinator::CStationCoordinator(int count, std::function<void()> onStop)
    : m_count(count), m_onStop(std::move(onStop)) {}

void CStationCoordinator::Stop() {
    {
        std::lock_guard lock(m_mutex);
        if (m_stop) {
            return;
        }
        m_stop = true;
    }
    m_stopped.notify_all();
    if (m_onStop) {
        m_onStop();
    }
}

bool CStationCoordinator::Stopping() const {
    std::lock_guard lock(m_mutex);
    return m_stop;
}

bool CStationCoordinator::Pause(std::chrono::milliseconds pause) {
    std::unique_lock lock(m_mutex);
    return !m_stopped.wait_for(lock, pause, [this] { return m_stop; });
}

bool CStationCoordinator::Reserve() {
    std::lock_guard lock(m_mutex);
    if (m_stop || (m_count > 0 && m_written + m_reserved >= m_count)) {
        return false;
    }
    ++m_reserved;
    return true;
}

void CStationCoordinator::Release(const std::string& pid, bool written) {
    bool reached = false;
    {
        std::lock_guard lock(m_mutex);
        --m_reserved;
        if (written) {
            ++m_written;
            m_pids.insert(pid);
        }
        reached = m_count > 0 && m_written >= m_count;
    }
    if (reached) {
        Stop();
    }
}

bool CStationCoordinator::Written(const std::string& pid) const {
    std::lock_guard lock(m_mutex);
    return m_pids.count(pid) != 0;
}
