#include "CommandTable.h"

#include "Commands.h"

std::span<const CliCommand> CliCommands() {
    static const CliCommand commands[] = {
        {"image", "image PROFILE [--radio-pid PID]", CmdImage},
        {"export", "export PROFILE [-o FILE]", CmdExport},
        {"import", "import XML -o PROFILE", CmdImport},
        {"config", "config [NAME [VALUE]]", CmdConfig},
        {"show", "show PROFILE", CmdShow},
        {"validate", "validate PROFILE", CmdValidate},
        {"templates", "templates", CmdTemplates},
        {"new", "new TEMPLATE -o PROFILE", CmdNew},
        {"upgrade", "upgrade PROFILE [-o OUT]", CmdUpgrade},
        {"ports", "ports", CmdPorts},
        {"read", "read [--port P] [--password PW] [--trace FILE] -o PROFILE", CmdRead},
        {"write",
         "write PROFILE [--port P] [--yes] [--repeat] [--set-clock] [--password PW]\n"
         "        [--backup | --backup-dir DIR] [--verify] [--trace FILE]",
         CmdWrite},
        {"reset", "reset [--port P] [--yes] [--trace FILE]", CmdReset},
        {"capture-pid", "capture-pid [--port P] [--trace FILE]", CmdCapturePid},
        {"report", "report PROFILE --kind radio|overview -o FILE", CmdReport},
        {"contacts",
         "contacts export PROFILE [-o FILE.csv] | contacts import PROFILE FILE.csv -o OUT.lam",
         CmdContacts},
        {"diff", "diff A B", CmdDiff},
        {"station",
         "station PROFILE --port P [--port P2 ...] [--units FILE.csv] [--listed-only]\n"
         "        [--backup] [--verify] [--password PW] [--accept-unsupported] [--count N]\n"
         "        [--trace-dir DIR]",
         CmdStation},
        {"register",
         "register list [--pid P] [--profile FILE] [--since DATE] [--register URL]\n"
         "        | register export -o FILE.csv [--pid P] [--profile FILE] [--since DATE]\n"
         "        [--register URL]",
         CmdRegister},
    };
    return commands;
}
