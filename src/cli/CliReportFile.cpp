#include "CliReportFile.h"

#include "AtomicFile.h"
#include "CQMVVLTException.h"
#include "MessageId.h"
#include "ReportPage.h"
#include "ReportPdf.h"

void WriteReportFile(const std::string& page, const std::filesystem::path& reportFolder,
                     const std::filesystem::path& target) {
    if (target.extension() == ".pdf") {
        if (!WriteReportPdf(page, reportFolder, target)) {
            ThrowQMVVLT(MessageId::kFatalError101, "CReportOptionDlg::SaveReport",
                        "Open script file failed");
        }
        return;
    }
    WriteFileAtomically(target, ReportPageBytes(page), MessageId::kFatalError101,
                        "CReportOptionDlg::SaveReport");
    CopyReportPictures(reportFolder, target.has_parent_path() ? target.parent_path() : ".");
}
