#include <filesystem>
#include <iostream>

#include "AtomicFile.h"
#include "CCliSession.h"
#include "CDataAdaptor.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CReportProfile.h"
#include "CliArgs.h"
#include "Commands.h"
#include "ReportBuilders.h"
#include "ReportPage.h"
#include "ReportPdf.h"
#include "TextCodec.h"
#include "Utility.h"

namespace fs = std::filesystem;

int CmdReport(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--kind", "-o"});
    args.ExpectPositionals(1, 1);
    const std::string kind = args.Value("--kind").value_or("");
    const std::string out = args.Required("-o", "FILE");
    if (kind != "radio" && kind != "overview") {
        throw CliUsageError{"--kind must be radio or overview"};
    }
    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(args.Positionals()[0])) {
        return kExitDataError;
    }
    ReportContext context;
    context.modelGroup = doc.Model().GetModelGroup();
    context.banks = doc.Model().GetPublicGroupIdBanks();
    DealerTexts dealer;
    if (Utility::ReadDealerInformation(dealer)) {
        context.dealer = dealer;
    }
    const fs::path reportFolder = session.InstallPath() / kReportFolderName;
    ReportContent content;
    std::string templateName;
    if (kind == "radio") {
        if (!IsRadioReportAvailable(doc.Model().GetProfileDoc())) {
            std::cerr
                << "The radio-specific report needs a profile whose own PID belongs to one of "
                   "its private contacts; the overview report is available.\n";
            return kExitDataError;
        }
        const std::string ownPid =
            GetAttribute(CXPath(doc.Model().GetProfileDoc()).SelectFirst("//dfns:limit"), "pid")
                .value_or("");
        XmlDocPtr own =
            CDataAdaptor::CopyPrvtScrlLst(doc.Model().ProfileText(), Utf8ToUtf16(ownPid));
        content = BuildRadioReport(own.get(), context);
        templateName = kRadioReportTemplate;
    } else {
        content = BuildOverviewReport(doc.Model().GetProfileDoc(), context);
        templateName = kOverviewReportTemplate;
    }
    const std::string page =
        FillReportTemplate(LoadReportTemplate(reportFolder / templateName), content);
    const fs::path target = out;
    if (target.extension() == ".pdf") {
        if (!WriteReportPdf(page, reportFolder, target)) {
            ThrowQMVVLT(101, "CReportOptionDlg::SaveReport", "Open script file failed");
        }
    } else {
        WriteFileAtomically(target, ReportPageBytes(page), 101, "CReportOptionDlg::SaveReport");
        CopyReportPictures(reportFolder, target.has_parent_path() ? target.parent_path() : ".");
    }
    std::cout << target.string() << "\n";
    return kExitOk;
}
