#include <iostream>

#include "CTransferOperations.h"
#include "CliRadio.h"
#include "Commands.h"
#include "TextCodec.h"

int CmdCapturePid(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--port"});
    args.ExpectPositionals(0, 0);
    const std::string port = CliRadio::ChoosePort(args);
    if (port.empty()) {
        return CliRadio::NoPort();
    }
    CTransferContext& context = CTransferContext::Instance();
    CTransferOperations operations(context);
    std::u16string pid;
    const int code = CliRadio::Run(context, [&] { return operations.CaptureRadioPid(port, pid); });
    if (code == 1) {
        std::cout << Utf16ToUtf8(pid) << "\n";
    }
    return CliRadio::ExitStatus(code);
}
