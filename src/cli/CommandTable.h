#pragma once

#include <span>

#include "CliContext.h"

struct CliCommand {
    const char* name;
    const char* usage;
    int (*run)(const CliContext&);
};

// Every command qmvvlt-cli offers, in the order the help lists them.
std::span<const CliCommand> CliCommands();
