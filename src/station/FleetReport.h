#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "CRegisterRecord.h"

inline constexpr const char* kFleetReportOutput = "FleetReport.htm";

// Per radio, its last write (a write, station write or restore, whatever its outcome), by PID;
// records without a PID are left out. records: oldest first, as the register lists them.
std::vector<CRegisterRecord> LastWrites(const std::vector<CRegisterRecord>& records);

// The fleet report: one row per radio with its last write, the rows whose profile is not
// activeProfileHash marked (no marks when it is empty), in the overview report's template of
// reportFolder. Raises CQMVVLTException 101 when the template cannot be read.
std::string FleetReportPage(const std::vector<CRegisterRecord>& records,
                            const std::filesystem::path& reportFolder,
                            std::string_view activeProfileHash);
