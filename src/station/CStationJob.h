#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "CProfileSnapshot.h"
#include "CRadioDataModel.h"

class CAppSettings;
class CRegister;
class CUnitList;

// Everything a programming job decides before it starts: the station asks nobody anything while
// radios come and go.
struct CStationJob {
    // The job's profile as its document holds it (CQMVVLTDoc::TakeSnapshot), and what its rule
    // engine needs (CAppSettings::ModelEnvironment). Each port works on a copy of its own.
    CModelEnvironment environment;
    CProfileSnapshot profile;
    std::filesystem::path profileFile;  // the register keeps its file name

    std::vector<std::string> ports;  // one loop each, side by side

    // The radios of the job with their own settings (CUnitList, checked against this profile and
    // accepted); null: every radio takes the profile as it is.
    const CUnitList* units = nullptr;
    // A radio the unit list does not name is refused with nothing sent.
    bool listedOnly = false;

    // Each radio is read and saved there (CRadioBackup) before it is written; empty: no backup.
    std::filesystem::path backupFolder;
    // Turns a backup into a profile file. The ports use it one at a time; a program whose own
    // thread uses its settings meanwhile gives the station a CAppSettings of its own.
    CAppSettings* app = nullptr;

    // Each radio is read back after its write and compared with what was sent.
    bool verify = false;
    // The codeplug password of radios that have one (a radio with another one is refused).
    std::optional<std::string> password;
    // A radio that cannot take all of the profile (and a modified-band radio whose channels must
    // be remapped) is written with what it can take; otherwise it is refused.
    bool acceptUnsupported = false;
    // The job ends once this many radios have been written; 0: until it is stopped.
    int count = 0;
    // Each port's wire trace goes there ("station-<port>-<time>.txt"); empty: none.
    std::filesystem::path traceDir;
    // Each radio's record goes there; null: nothing is recorded.
    CRegister* reg = nullptr;

    // How long a port waits between two polls of an empty cable (each poll itself waits about a
    // second for an answer).
    std::chrono::milliseconds pollInterval{250};
    // The pause before the radio answers FinishWrite (as the radio needs it; tests shorten it).
    std::chrono::milliseconds finishPause{4000};
};
