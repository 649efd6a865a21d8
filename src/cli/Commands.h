#pragma once

#include "CliContext.h"

// One function per command; each returns the process exit status. Profile, data-file and
// configuration failures are raised as CQMVVLTException and reported by main.
int CmdImage(const CliContext& ctx);
// The profile as plain UTF-8 XML text, whatever its form on disk.
int CmdExport(const CliContext& ctx);
// Shows the effective configuration, one value, or sets a user-scope value.
int CmdConfig(const CliContext& ctx);
