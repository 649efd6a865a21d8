#include "CTransferOperations.h"
#include "CliRadio.h"
#include "Commands.h"

int CmdReset(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--port"});
    args.ExpectPositionals(0, 0);
    const std::string port = CliRadio::ChoosePort(args);
    if (port.empty()) {
        return CliRadio::NoPort();
    }
    CTransferContext& context = CTransferContext::Instance();
    CTransferOperations operations(context);
    return CliRadio::ExitStatus(
        CliRadio::Run(context, [&] { return operations.PerformReset(port); }));
}
