#include <iostream>

#include "CCliRadioScope.h"
#include "CTransferOperations.h"
#include "CliRadio.h"
#include "CliRegister.h"
#include "Commands.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "StringTable.h"
#include "TextCodec.h"

namespace {
// "Press Home 3 times and then PTT on the other radio."
}  // namespace

int CmdCapturePid(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--port", "--trace"});
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
    std::cerr << LoadString(MessageId::kCaptureInstruction) << "\n";
    CCliRegister reg(ctx);
    CTransferOperations operations(context);
    std::u16string pid;
    const int code = CliRadio::Run(context, [&] { return operations.CaptureRadioPid(port, pid); });
    CRadioCommandOutcome outcome =
        CRadioCommandOutcome::Of(CRadioCommandOutcome::Command::kCapture, context, port, code);
    outcome.capturedPid = pid;
    reg.Record(outcome);
    if (code == kRadioSuccess) {
        std::cout << Utf16ToUtf8(pid) << "\n";
    }
    return CliRadio::ExitStatus(code, context);
}
