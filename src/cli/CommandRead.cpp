#include <filesystem>
#include <iostream>

#include "CCliRadioScope.h"
#include "CCliRadioUi.h"
#include "CQMVVLTDoc.h"
#include "CRadioCommandChain.h"
#include "CliRadio.h"
#include "CliRegister.h"
#include "Commands.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "RecoveredFolder.h"
#include "StringTable.h"

namespace fs = std::filesystem;

int CmdRead(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--port", "-o", "--password", "--trace"});
    args.ExpectPositionals(0, 0);
    const fs::path out = args.Required("-o", "PROFILE");
    // Checked before the transfer, not after it.
    if (out.has_parent_path() && !fs::is_directory(out.parent_path())) {
        std::cerr << CStringTable::Instance().Format(MessageId::kNoSuchFolder,
                                                     {out.parent_path().string()})
                  << "\n";
        return kExitDataError;
    }
    const std::string port = CliRadio::ChoosePort(args);
    if (port.empty()) {
        return CliRadio::NoPort();
    }
    CCliSession session(ctx, false);
    CCliRadioScope radio(args);
    if (!radio.Ready()) {
        return kExitDataError;
    }
    CTransferContext& context = radio.Context();
    CCliRadioUi ui(session, context, args.Value("--password"));
    CRadioCommandChain chain(context, session.App().UpDownGrade(), ui);
    CCliRegister reg(ctx);
    chain.SetOutcomeObserver(reg.Observer());
    CVirtualCodeplug image;
    const int code = chain.Read(port, image);
    if (code != kRadioSuccess) {
        return ui.ExitStatus(code);
    }
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.NewFromVirtualCP(image)) {
        return kExitDataError;
    }
    if (!doc.Save(out)) {
        // What the radio gave is not thrown away.
        const fs::path kept = NewRecoveredPath(out.stem().empty() ? "radio" : out.stem().string());
        if (doc.Save(kept)) {
            std::cerr << CStringTable::Instance().Format(MessageId::kKeptInRecovered,
                                                         {kept.string()})
                      << "\n";
        }
        return kExitDataError;
    }
    std::cerr << LoadString(MessageId::kReadingSuccessful) << "\n";
    std::cout << out.string() << "\n";
    return kExitOk;
}
