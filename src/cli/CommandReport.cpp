#include <filesystem>
#include <iostream>

#include "CCliSession.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CReportAssembler.h"
#include "CliArgs.h"
#include "CliReportFile.h"
#include "Commands.h"
#include "MessageId.h"
#include "StringTable.h"

namespace fs = std::filesystem;

int CmdReport(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--kind", "-o"});
    args.ExpectPositionals(1, 1);
    const std::string kindName = args.Value("--kind").value_or("");
    const std::string out = args.Required("-o", "FILE");
    if (kindName != "radio" && kindName != "overview") {
        throw CliUsageError{"--kind must be radio or overview"};
    }
    const auto kind =
        kindName == "radio" ? CReportAssembler::Kind::kRadio : CReportAssembler::Kind::kOverview;
    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(args.Positionals()[0])) {
        return kExitDataError;
    }
    if (!CReportAssembler::IsAvailable(doc, kind)) {
        std::cerr << LoadString(MessageId::kCliRadioReportNeedsOwnPid) << "\n";
        return kExitDataError;
    }
    const CReportAssembler assembler(session.InstallPath());
    const std::string page = assembler.Page(doc, kind);
    WriteReportFile(page, assembler.ReportFolder(), out);
    std::cout << out << "\n";
    return kExitOk;
}
