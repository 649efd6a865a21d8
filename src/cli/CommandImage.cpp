#include <iostream>

#include "CCliSession.h"
#include "CQMVVLTDoc.h"
#include "CVirtualCodeplugJson.h"
#include "CliArgs.h"
#include "Commands.h"
#include "TextCodec.h"

int CmdImage(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--radio-pid"});
    args.ExpectPositionals(1, 1);
    // Through the data model, as a write converts it: older profiles get their group's fields.
    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(args.Positionals()[0])) {
        return kExitDataError;
    }
    CVirtualCodeplug image;
    doc.GetVirtualCPData(image, Utf8ToUtf16(args.Value("--radio-pid").value_or("")));
    image.Count();
    std::cout << CVirtualCodeplugJson::ToJson(image);
    return kExitOk;
}
