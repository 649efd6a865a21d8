#include <iostream>

#include "CQtPortLister.h"
#include "CliRadio.h"
#include "Commands.h"
#include "Utility.h"

int CmdPorts(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {});
    args.ExpectPositionals(0, 0);
    const CQtPortLister lister;
    const CCableDiscovery discovery(lister);
    const std::string cable = discovery.FindCablePort();
    for (const auto& port : lister.Ports()) {
        std::cout << port.name << "\t" << port.location << "\t" << port.description
                  << (port.name == cable ? "\t(programming cable)" : "") << "\n";
    }
    const int autoDetect = Utility::GetAutoDetect();
    const std::string current =
        discovery.GetCurrentPort(false, {autoDetect, Utility::GetCurrentComPort()});
    std::cout << "current port: " << (current.empty() ? "(none)" : current)
              << (autoDetect > 0 ? " (auto-detect)" : "") << "\n";
    return kExitOk;
}
