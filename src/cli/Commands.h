#pragma once

#include "CliContext.h"

// One function per command; each returns the process exit status. Profile, data-file and
// configuration failures are raised as CQMVVLTException and reported by main.
int CmdImage(const CliContext& ctx);
// The profile as plain UTF-8 XML text, whatever its form on disk.
int CmdExport(const CliContext& ctx);
// Shows the effective configuration, one value, or sets a user-scope value.
int CmdConfig(const CliContext& ctx);
// The serial ports, the programming cable among them, and the current port.
int CmdPorts(const CliContext& ctx);
// Resets a radio.
int CmdReset(const CliContext& ctx);
// Captures another radio's PID over the air and prints it.
int CmdCapturePid(const CliContext& ctx);
