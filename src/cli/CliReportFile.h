#pragma once

#include <filesystem>
#include <string>

// Writes a report page to target: PDF when its name ends in ".pdf", else the HTML page (FF FE and
// UTF-16LE, as the program writes it) with the report pictures beside it. Raises
// CQMVVLTException 101 when the file cannot be written.
void WriteReportFile(const std::string& page, const std::filesystem::path& reportFolder,
                     const std::filesystem::path& target);
