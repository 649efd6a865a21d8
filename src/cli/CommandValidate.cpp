#include <iostream>

#include "CCliSession.h"
#include "CProfileRuleCheck.h"
#include "CQMVVLTDoc.h"
#include "CliArgs.h"
#include "Commands.h"

int CmdValidate(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {});
    args.ExpectPositionals(1, 1);
    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    const std::string& path = args.Positionals()[0];
    if (!doc.Open(path)) {
        return kExitDataError;
    }
    const CRadioDataModel& model = doc.Model();
    bool broken = false;
    for (const auto& finding : CProfileRuleCheck::Check(model.GetRootItem())) {
        std::cerr << path << ": " << finding.text << "\n";
        broken = broken || !finding.warningOnly;
    }
    if (broken) {
        return kExitDataError;
    }
    std::cout << path << ": valid, model group G" << model.GetModelGroup() << ", "
              << (model.IsNarrowFile() ? "single-byte" : "UTF-16") << " file, "
              << model.GroupFieldList().size() << " fields added at load\n";
    return kExitOk;
}
