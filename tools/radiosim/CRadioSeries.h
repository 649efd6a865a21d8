#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CSimFaults.h"
#include "CSimSeries.h"
#include "CVirtualCodeplug.h"
#include "CVirtualRadio.h"
#include "ISimRadio.h"

// Radios swapped on one cable, as an operator programming a fleet swaps them: each radio of the
// series is a fresh CVirtualRadio from the same start image with a PID of its own. The rules:
// - Radio 1 is on the cable from the start.
// - A radio that acknowledged a FinishWrite goes on answering (a verify read-back) until the PC
//   asks for its version for the (stayVersions + 1)-th time since that write: that request gets
//   no answer, the radio has been taken off.
// - A radio that has received no write frame leaves dwell after it arrived (never when dwell is
//   0), as an operator takes off a radio the PC refused.
// - A radio named in pullOuts is taken off at that write frame (WriteSettings, WriteContact,
//   WriteTextMessage and FinishWrite count, from 1): the frame gets no answer, and the radio keeps
//   the codeplug it had before the write.
// - Once a radio has been taken off the cable is empty for the swap time, then the next radio
//   answers; after the last one the cable stays empty.
// Each radio's image is saved as "<place>-<pid>.json" in the folder (when one is set) when it
// leaves, and by SaveCurrent for the radio still on the cable.
class CRadioSeries : public ISimRadio {
  public:
    using Clock = std::chrono::steady_clock;
    using Log = std::function<void(const std::string&)>;

    struct Unit {
        int place = 0;  // 1-based
        std::u16string pid;
        CVirtualCodeplug image;
        bool written = false;  // it acknowledged a FinishWrite
    };

    CRadioSeries(const CVirtualCodeplug& start, CSimFaults faults, CSimSeries series, Log log = {});

    std::vector<std::uint8_t> Handle(std::uint8_t opcode,
                                     const std::vector<std::uint8_t>& data) override;
    bool HungUp() const override;
    int FinishDelayMs() const override;

    // Applied to every radio of the series.
    void SetFinishDelayMs(int ms);
    void SetCapture(std::u16string pid, int waitingPolls);
    // The time source (tests step it).
    void SetClock(std::function<Clock::time_point()> now);

    // Every radio that has been on the cable so far, in order, with its image as it is now.
    std::vector<Unit> Units() const;
    // The place of the radio on the cable (1-based); 0 while the cable is empty.
    int Current() const;
    // Saves the image of the radio on the cable, if any (when the program ends).
    void SaveCurrent();

    // The PIDs of a series: the given ones (as many radios as PIDs), else count PIDs counting up
    // from first (which must be digits). Empty, with error set, when that cannot be done.
    static std::vector<std::u16string> Pids(const CSimSeries& series, const std::u16string& first,
                                            std::string& error);

  private:
    void Arrive(Clock::time_point now);
    void TakeOff(Clock::time_point now, const char* why);
    void Save(const Unit& unit) const;
    void Note(const std::string& text) const;

    CVirtualCodeplug m_start;
    CSimFaults m_faults;
    CSimSeries m_series;
    Log m_log;
    std::vector<std::u16string> m_pids;
    std::function<Clock::time_point()> m_now;
    int m_finishDelayMs = 1000;
    std::u16string m_capturePid;
    int m_captureWaitingPolls = 1;

    mutable std::mutex m_mutex;
    std::vector<Unit> m_done;                // radios that have left the cable
    std::unique_ptr<CVirtualRadio> m_radio;  // the one on the cable
    int m_place = 0;                         // its place (or the last one's while empty)
    Clock::time_point m_arrived;
    Clock::time_point m_emptyUntil;
    bool m_written = false;
    int m_versionsSinceWrite = 0;
    int m_writeFrames = 0;
};
