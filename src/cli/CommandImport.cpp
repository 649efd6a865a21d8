#include <iostream>

#include "CCliSession.h"
#include "CProfileRuleCheck.h"
#include "CQMVVLTDoc.h"
#include "CliArgs.h"
#include "Commands.h"

int CmdImport(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"-o"});
    args.ExpectPositionals(1, 1);
    const std::string out = args.Required("-o", "PROFILE");
    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.ImportXml(args.Positionals()[0])) {
        return kExitDataError;
    }
    // The file is made all the same, so the rules broken can be mended in the editor; the user
    // is told which.
    for (const auto& finding : CProfileRuleCheck::Check(doc.Model().GetRootItem())) {
        std::cerr << out << ": " << finding.text << "\n";
    }
    if (!doc.Save(out)) {
        return kExitDataError;
    }
    std::cout << out << "\n";
    return kExitOk;
}
