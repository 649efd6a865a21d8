#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// A series of radios swapped on one cable (see CRadioSeries for the rules).
struct CSimSeries {
    // A radio taken off the cable when it receives this write frame.
    struct PullOut {
        int radio = 0;  // 1-based place in the series
        int frame = 0;  // 1-based among the write frames that radio receives
    };

    int count = 0;                         // radios in the series; 0: a single radio, no series
    std::chrono::milliseconds swap{5000};  // the cable is empty this long between two radios
    std::vector<std::u16string> pids;      // each radio's PID; empty: the start PID counted up
    int stayVersions = 1;                  // version requests a written radio still answers
    std::chrono::milliseconds dwell{0};    // an unwritten radio leaves after this (0: never)
    std::vector<PullOut> pullOuts;
    std::filesystem::path folder;  // each radio's image goes there when it leaves
};
