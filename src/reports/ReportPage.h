#pragma once

#include <filesystem>
#include <string>

#include "ReportBuilders.h"

inline constexpr const char* kReportFolderName = "Report";
inline constexpr const char* kRadioReportTemplate = "SpecReport.tpl";
inline constexpr const char* kOverviewReportTemplate = "OverviewReport.tpl";
inline constexpr const char* kRadioReportOutput = "SpecReport.htm";
inline constexpr const char* kOverviewReportOutput = "OverviewReport.htm";
inline constexpr const char* kReportContentMarker = "<!-- report content begin -->";

// The text of a report template as UTF-8: code-page 1252 bytes are converted, valid UTF-8 is kept
// (code 101 "Open template file failed" when it cannot be read).
std::string LoadReportTemplate(const std::filesystem::path& file);

// The page: the template's head through the content marker with REPORT_TITLE and MODEL_PIC
// replaced, the content, then the rest of the template. A template without the marker gets the
// content at its end.
std::string FillReportTemplate(const std::string& templateText, const ReportContent& content);

// Writes the page as FF FE and UTF-16LE to pageFolder/outputName (made when missing; the user's
// cache folder) with every picture (*.jpg) of reportFolder copied beside it. The report folder is
// part of the installed data and is never written. Returns the file written; code 101 "Open
// script file failed" when it cannot be written.
std::filesystem::path SaveReport(const std::filesystem::path& reportFolder,
                                 const std::string& outputName, const std::string& page,
                                 const std::filesystem::path& pageFolder);

// Copies every picture (*.jpg) of reportFolder into folder, replacing files of the same name; a
// page names its pictures relative to itself.
void CopyReportPictures(const std::filesystem::path& reportFolder,
                        const std::filesystem::path& folder);

// The page as the bytes SaveReport writes.
std::string ReportPageBytes(const std::string& page);
