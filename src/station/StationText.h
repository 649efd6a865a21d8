#pragma once

#include <string>

#include "IStationObserver.h"

// A port's state as the station window's row and the command line show it (string-table texts):
// "Waiting for a radio", "Writing 40%", "Done: 10000042 Truck 1", "Failed: ...".
std::string StationStateText(const CStationPortState& state);
// A count or a time with this many decimals ("12.5"), as the summaries show them.
std::string Fixed(double value, int decimals);
