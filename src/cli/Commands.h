#pragma once

#include "CliContext.h"

// One function per command; each returns the process exit status. Profile, data-file and
// configuration failures are raised as CQMVVLTException and reported by main.
int CmdImage(const CliContext& ctx);
