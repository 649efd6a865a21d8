#include <iostream>

#include "CCliSession.h"
#include "CQMVVLTDoc.h"
#include "CliArgs.h"
#include "Commands.h"
#include "MessageId.h"
#include "ProfileDiff.h"
#include "StringTable.h"

int CmdDiff(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {});
    args.ExpectPositionals(2, 2);
    CCliSession session(ctx, false);
    CQMVVLTDoc a(session.App(), session.InstallPath(), session);
    CQMVVLTDoc b(session.App(), session.InstallPath(), session);
    if (!a.Open(args.Positionals()[0]) || !b.Open(args.Positionals()[1])) {
        return kExitDataError;
    }
    const auto diffs = DiffProfiles(a.Model().GetProfileDoc(), b.Model().GetProfileDoc());
    if (diffs.empty()) {
        std::cout << LoadString(MessageId::kDiffEqual) << "\n";
        return kExitOk;
    }
    for (const std::string& line : FormatProfileDifferences(diffs)) {
        std::cout << line << "\n";
    }
    return kExitDifferent;
}
