#include "CommandTable.h"

#include "Commands.h"

std::span<const CliCommand> CliCommands() {
    static const CliCommand commands[] = {
        {"image", "image PROFILE [--radio-pid PID]", CmdImage},
        {"export", "export PROFILE [-o FILE]", CmdExport},
        {"config", "config [NAME [VALUE]]", CmdConfig},
        {"ports", "ports", CmdPorts},
        {"reset", "reset [--port P]", CmdReset},
        {"capture-pid", "capture-pid [--port P]", CmdCapturePid},
    };
    return commands;
}
