#include <iostream>

#include "CCliSession.h"
#include "CQMVVLTDoc.h"
#include "CliArgs.h"
#include "Commands.h"

int CmdNew(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"-o"});
    args.ExpectPositionals(1, 1);
    const std::string out = args.Required("-o", "PROFILE");
    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.NewFromTemplate(args.Positionals()[0]) || !doc.Save(out)) {
        return kExitDataError;
    }
    std::cout << out << "\n";
    return kExitOk;
}
