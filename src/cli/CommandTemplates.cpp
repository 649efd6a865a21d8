#include <iostream>

#include "CCliSession.h"
#include "CQMVVLTDoc.h"
#include "CliArgs.h"
#include "Commands.h"

int CmdTemplates(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {});
    args.ExpectPositionals(0, 0);
    CCliSession session(ctx, false);
    for (const std::string& name : CQMVVLTDoc::TemplateNames(session.InstallPath())) {
        std::cout << name << "\t" << CQMVVLTDoc::TemplatePath(session.InstallPath(), name).string()
                  << "\n";
    }
    return kExitOk;
}
