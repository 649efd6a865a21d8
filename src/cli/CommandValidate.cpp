#include <iostream>

#include "CCliSession.h"
#include "CProfileRuleCheck.h"
#include "CQMVVLTDoc.h"
#include "CliArgs.h"
#include "Commands.h"
#include "MessageId.h"
#include "StringTable.h"

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
    std::cout << CStringTable::Instance().Format(model.IsNarrowFile()
                                                     ? MessageId::kCliValidSingleByte
                                                     : MessageId::kCliValidUtf16,
                                                 {path, std::to_string(model.GetModelGroup()),
                                                  std::to_string(model.GroupFieldList().size())})
              << "\n";
    return kExitOk;
}
