#include <iostream>

#include "CCliRadioScope.h"
#include "CTerminalPrompt.h"
#include "CTransferOperations.h"
#include "CliRadio.h"
#include "CliRegister.h"
#include "Commands.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "StringTable.h"

int CmdReset(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--port", "--trace"}, {"--yes"});
    args.ExpectPositionals(0, 0);
    const std::string port = CliRadio::ChoosePort(args);
    if (port.empty()) {
        return CliRadio::NoPort();
    }
    CCliRadioScope radio(args);
    if (!radio.Ready()) {
        return kExitDataError;
    }
    CTransferContext& context = radio.Context();
    // A reset empties the radio: it is not done unasked.
    if (!CTerminalPrompt::AskYesNo(LoadString(MessageId::kResetQuestion), args.Flag("--yes"))) {
        return CliRadio::ExitStatus(kUserCancelled, context);
    }
    std::cerr << LoadString(MessageId::kResetting) << "\n";
    CCliRegister reg(ctx);
    CTransferOperations operations(context);
    const int code = CliRadio::Run(
        context, [&] { return operations.PerformReset(port); }, {}, false);
    reg.Record(
        CRadioCommandOutcome::Of(CRadioCommandOutcome::Command::kReset, context, port, code));
    if (code == kRadioSuccess) {
        std::cerr << LoadString(MessageId::kResetDone) << "\n";
    }
    return CliRadio::ExitStatus(code, context);
}
