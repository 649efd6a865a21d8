#pragma once

#include <functional>
#include <string>

#include "CCableDiscovery.h"
#include "CTransferContext.h"
#include "CliArgs.h"

// What the radio commands share: the port to use, running an operation on a worker with progress
// on standard error and Ctrl-C as cancel, and the exit status of a result code.
namespace CliRadio {

// The port given with --port (used as given), else the current port from the configuration;
// empty when there is none.
std::string ChoosePort(const CCliArgs& args);

// Runs operation on a worker thread and waits for it; Ctrl-C cancels it cleanly. A warning the
// operation raises is answered by askWarning (No when there is none).
int Run(CTransferContext& context, const std::function<int()>& operation,
        const std::function<bool(int warning)>& askWarning = {});

// 0 on success; else prints the result's text on standard error and returns 100 + |code|.
int ExitStatus(int code);

// Prints message 304 and returns the exit status of a missing port.
int NoPort();

}  // namespace CliRadio
