#include <iostream>

#include "CCliSession.h"
#include "CQMVVLTDoc.h"
#include "CliArgs.h"
#include "Commands.h"

// The save with conversion accepted: an older profile is rewritten in the latest format.
int CmdUpgrade(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"-o"});
    args.ExpectPositionals(1, 1);
    const std::string in = args.Positionals()[0];
    const std::string out = args.Value("-o").value_or(in);
    CCliSession session(ctx, true);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(in)) {
        return kExitDataError;
    }
    const int group = doc.Model().GetModelGroup();
    if (!doc.Save(out)) {
        return kExitDataError;
    }
    std::cout << out << ": G" << group << " -> G" << doc.Model().GetModelGroup() << "\n";
    return kExitOk;
}
