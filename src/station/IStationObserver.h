#pragma once

#include <string>

#include "CRegisterRecord.h"

// What one port of a programming station is doing: a row of the station window, a line of the
// command line. StationStateText gives the text to show.
struct CStationPortState {
    enum class Phase {
        kWaiting,      // no radio on the cable: polling for one
        kReading,      // a radio answered: its PID, version and password are read
        kBackingUp,    // its codeplug is read into the backup folder
        kWriting,      // percent: how much of the write went over the line
        kVerifying,    // read back and compared with what was sent
        kDone,         // written (pid, unit); the operator takes it off
        kFailed,       // reason: a radio failed (pid, when it could be read) and waits to be
                       // taken off; or the port cannot be used (it keeps trying)
        kRemoveRadio,  // a radio this job does not write is on the cable (reason): take it off
        kStopped,      // the port's loop has ended
    };
    Phase phase = Phase::kWaiting;
    int percent = 0;
    std::string pid;
    std::string unit;    // the unit list's label for the radio, when it has one
    std::string reason;  // a string-table text

    bool operator==(const CStationPortState&) const = default;
};

// One radio a port has finished with: what went into the register for it.
struct CStationRadioResult {
    enum class Kind {
        kWritten,  // written (and verified when the job verifies)
        kFailed,   // record.outcomeText says why, and whether it is partly programmed or untouched
        kRefused,  // nothing was sent (outcome kUserCancelled: the job's answer was No): not
                   // listed, already written in this job, another password, ...
    };
    Kind kind = Kind::kFailed;
    bool partlyProgrammed = false;  // kFailed: the radio received part of the write
    double seconds = 0;             // from the radio answering to its outcome
    CRegisterRecord record;         // port, PID, unit, outcome code and text, hashes, backup ...
};

// How a programming station reports. Values only, so a window can queue them to its own thread.
//
// Calls come from the ports' own threads, several at once: an observer must be thread-safe,
// return quickly, and never wait for the station (CStation::Wait) from inside a call. Each port
// reports its states in order; after its kStopped nothing more comes from it.
class IStationObserver {
  public:
    virtual ~IStationObserver() = default;
    // Port portIndex (its place in the job's ports) is in a new state.
    virtual void OnPortState(int portIndex, const CStationPortState& state) = 0;
    // Port portIndex has finished with a radio; its record has been handed to the register.
    virtual void OnRadio(int portIndex, const CStationRadioResult& result) = 0;
    // Every port has stopped: the job is over (stopped, or its count of radios written).
    virtual void OnFinished() {}
};
