#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>

// What the ports of one job share: whether the job goes on, how many radios it still needs, and
// the PIDs it has written. Every call is safe from any thread.
class CStationCoordinator {
  public:
    // count: radios to write before the job ends (0: no end but Stop). onStop runs once, on the
    // thread that ends the job, to cancel what the ports are doing.
    CStationCoordinator(int count, std::function<void()> onStop);

    // Ends the job: pauses end at once and onStop cancels the radio operations.
    void Stop();
    bool Stopping() const;
    // Waits for pause; false when the job ends meanwhile.
    bool Pause(std::chrono::milliseconds pause);

    // A place for one more radio; false while the radios being written would reach the count.
    bool Reserve();
    // The end of a reserved radio: written (its PID is the job's from now on) or not. The job
    // ends when the count is reached.
    void Release(const std::string& pid, bool written);
    // Whether a radio with this PID has been written in this job.
    bool Written(const std::string& pid) const;

  private:
    const int m_count;
    const std::function<void()> m_onStop;
    mutable std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stop = false;
    int m_written = 0;
    int m_reserved = 0;
    std::set<std::string> m_pids;
};
