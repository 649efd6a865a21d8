#include <iostream>

#include "CCliRadioUi.h"
#include "CQMVVLTDoc.h"
#include "CRadioCommandChain.h"
#include "CliRadio.h"
#include "Commands.h"
#include "RadioResult.h"
#include "StringTable.h"

// Writes a profile to one radio, or with --repeat to one radio after another.
int CmdWrite(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--port", "--password"}, {"--yes", "--repeat"});
    args.ExpectPositionals(1, 1);
    const std::string port = CliRadio::ChoosePort(args);
    if (port.empty()) {
        return CliRadio::NoPort();
    }
    CCliSession session(ctx, args.Flag("--yes"));
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(args.Positionals()[0])) {
        return kExitDataError;
    }
    CTransferContext& context = CTransferContext::Instance();
    CCliRadioUi ui(session, context, args.Value("--password"));
    CRadioCommandChain chain(context, session.App().UpDownGrade(), ui);
    int written = 0;
    int last = kRadioSuccess;
    for (;;) {
        last = chain.Write(port, doc);
        if (chain.ProfileRefused()) {
            return kExitDataError;  // the reasons have been shown
        }
        if (last == kRadioSuccess) {
            ++written;
            std::cerr << LoadString(10012) << " (" << written << ")\n";
        }
        if (!args.Flag("--repeat") || last == kUserCancelled) {
            break;
        }
        std::cerr << "Connect the next radio and press Enter (end of input stops): " << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) {
            std::cerr << "\n";
            break;
        }
    }
    return RadioExitStatus(last);
}
