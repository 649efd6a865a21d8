#pragma once

#include <filesystem>
#include <string>

// Renders an HTML report page to a PDF file (A4, the report print margins) without a display;
// pictures are looked up in resourceFolder. Returns false when the file cannot be written.
bool WriteReportPdf(const std::string& page, const std::filesystem::path& resourceFolder,
                    const std::filesystem::path& pdf);
