#pragma once

#include <filesystem>
#include <string>

class CQMVVLTDoc;

// The two reports of a profile, assembled into a whole HTML page from the installed templates:
// what the GUI's report dialog shows and prints and what the command line saves.
class CReportAssembler {
  public:
    enum class Kind { kRadio, kOverview };

    // installPath holds the "Report" folder with the templates and pictures.
    explicit CReportAssembler(std::filesystem::path installPath);

    // The folder of the templates and pictures.
    std::filesystem::path ReportFolder() const;
    // The radio-specific report needs a profile whose own PID belongs to one of its private
    // contacts.
    static bool IsAvailable(const CQMVVLTDoc& doc, Kind kind);
    // The page of the report; raises CQMVVLTException when a template cannot be read.
    std::string Page(const CQMVVLTDoc& doc, Kind kind) const;

  private:
    std::filesystem::path m_installPath;
};
