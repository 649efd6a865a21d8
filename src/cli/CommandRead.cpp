#include <iostream>

#include "CCliRadioUi.h"
#include "CQMVVLTDoc.h"
#include "CRadioCommandChain.h"
#include "CliRadio.h"
#include "Commands.h"
#include "RadioResult.h"

int CmdRead(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--port", "-o", "--password"});
    args.ExpectPositionals(0, 0);
    const std::string out = args.Required("-o", "PROFILE");
    const std::string port = CliRadio::ChoosePort(args);
    if (port.empty()) {
        return CliRadio::NoPort();
    }
    CCliSession session(ctx, false);
    CTransferContext& context = CTransferContext::Instance();
    CCliRadioUi ui(session, context, args.Value("--password"));
    CRadioCommandChain chain(context, session.App().UpDownGrade(), ui);
    CVirtualCodeplug image;
    const int code = chain.Read(port, image);
    if (code != kRadioSuccess) {
        return RadioExitStatus(code);
    }
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.NewFromVirtualCP(image) || !doc.Save(out)) {
        return kExitDataError;
    }
    std::cout << out << "\n";
    return kExitOk;
}
