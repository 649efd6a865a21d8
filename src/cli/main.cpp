#include <cstring>
#include <iostream>
#include <string>

#include "CCliSession.h"
#include "CQMVVLTException.h"
#include "CommandTable.h"
#include "LanguageResources.h"
#include "Utility.h"

namespace {

void PrintUsage(std::ostream& out) {
    out << "usage: qmvvlt-cli [--install DIR] [--config DIR] [--register URL] [-v|--verbose] "
           "COMMAND [options]\n"
           "       qmvvlt-cli -h|--help | --version\n"
           "commands:\n";
    for (const CliCommand& cmd : CliCommands()) {
        out << "  " << cmd.usage << '\n';
    }
}

const CliCommand* FindCommand(const std::string& name) {
    for (const CliCommand& cmd : CliCommands()) {
        if (name == cmd.name) {
            return &cmd;
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    CliContext ctx;
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        const std::string opt = argv[i];
        if (opt == "--help" || opt == "-h") {
            PrintUsage(std::cout);
            return kExitOk;
        }
        if (opt == "--version") {
            std::cout << "qmvvlt-cli " << QMVVLT_VERSION << '\n';
            return kExitOk;
        }
        if (opt == "--verbose" || opt == "-v") {
            ctx.verbose = true;
            continue;
        }
        if ((opt == "--install" || opt == "--config") && i + 1 < argc) {
            (opt == "--install" ? ctx.installDir : ctx.configDir) = argv[++i];
            continue;
        }
        if (opt == "--register" && i + 1 < argc) {
            ctx.registerUrl = argv[++i];
            continue;
        }
        std::cerr << "qmvvlt-cli: unknown or incomplete option " << opt << '\n';
        PrintUsage(std::cerr);
        return kExitUsage;
    }
    if (i == argc) {
        PrintUsage(std::cerr);
        return kExitUsage;
    }
    const CliCommand* cmd = FindCommand(argv[i]);
    if (!cmd) {
        std::cerr << "qmvvlt-cli: unknown command " << argv[i] << '\n';
        PrintUsage(std::cerr);
        return kExitUsage;
    }
    ctx.args.assign(argv + i + 1, argv + argc);
    // Without the options, QMVVLT_CONFIG_DIR / QMVVLT_INSTALL_DIR or the discovered locations
    // apply.
    if (ctx.configDir) {
        Utility::SetConfigFolder(ctx.configDir);
    }
    if (ctx.installDir) {
        Utility::SetInstallPathOverride(ctx.installDir);
    }
    // Messages in the configured language; without its file they stay English. The configuration
    // is left as it is: the desktop program says so and switches back at its next start.
    LoadCurrentLanguageTexts();
    try {
        return cmd->run(ctx);
    } catch (const CliUsageError& e) {
        std::cerr << "qmvvlt-cli " << cmd->name << ": " << e.text << "\nusage: qmvvlt-cli "
                  << cmd->usage << '\n';
        return kExitUsage;
    } catch (const CQMVVLTException& e) {
        CCliSession::PrintError(e.Code(), e.Message(), e.Trace(), ctx.verbose);
        return kExitDataError;
    }
}
