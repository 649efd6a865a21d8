#pragma once

#include <functional>
#include <memory>
#include <string>

#include "CCableDiscovery.h"
#include "CTransferContext.h"
#include "CWireTrace.h"
#include "CliArgs.h"
#include "ITransferObserver.h"

// What the radio commands share: the port to use, running an operation on a worker with progress
// on standard error, and the exit status of a result code. Ctrl-C is CCliInterrupt's.
namespace CliRadio {

// The port given with --port (used as given), else the current port from the configuration;
// empty when there is none. Asked anew for every radio, so a re-plugged cable is found.
std::string ChoosePort(const CCliArgs& args);

// Runs operation on a worker thread and waits for it. With showProgress, a bar on a terminal (a
// line per stage otherwise) follows it. A warning the operation raises is answered by askWarning
// (No when there is none).
int Run(CTransferContext& context, const std::function<int()>& operation,
        const std::function<bool(TransferWarning)>& askWarning = {}, bool showProgress = true);

// The text of a failed result, with the reason a port did not open.
std::string FailureText(int code, const CTransferContext& context);

// 0 on success; else prints FailureText on standard error and returns 100 + |code|.
int ExitStatus(int code, const CTransferContext& context);

// 100 + |code| for a failure, 0 for success; prints nothing.
int StatusOf(int code);

// Prints message 304 and returns the exit status of a missing port.
int NoPort();

// The wire trace --trace FILE asks for (nullptr without the option). Prints why and sets ok to
// false when the file cannot be written.
std::shared_ptr<CWireTrace> TraceFile(const CCliArgs& args, bool& ok);

}  // namespace CliRadio
