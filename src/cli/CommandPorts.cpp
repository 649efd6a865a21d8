#include <iostream>

#include "CQtPortLister.h"
#include "CliRadio.h"
#include "Commands.h"
#include "MessageId.h"
#include "StringTable.h"
#include "Utility.h"

int CmdPorts(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {});
    args.ExpectPositionals(0, 0);
    const CQtPortLister lister;
    const CCableDiscovery discovery(lister);
    const std::string cable = discovery.FindCablePort();
    for (const auto& port : lister.Ports()) {
        std::cout << port.name << "\t" << port.location << "\t" << port.description
                  << (port.name == cable ? "\t" + LoadString(MessageId::kCliProgrammingCable) : "")
                  << "\n";
    }
    const int autoDetect = Utility::GetAutoDetect();
    const std::string current =
        discovery.GetCurrentPort(false, {autoDetect, Utility::GetCurrentComPort()});
    std::cout << CStringTable::Instance().Format(
                     MessageId::kCliCurrentPort,
                     {current.empty() ? LoadString(MessageId::kCliNoPort) : current})
              << (autoDetect > 0 ? " " + LoadString(MessageId::kCliAutoDetect) : "") << "\n";
    return kExitOk;
}
