#pragma once

#include <memory>
#include <string>

#include "CAppSettings.h"

// The outcome of the start-up checks both front ends run before any work.
struct StartupResult {
    std::unique_ptr<CAppSettings> settings;  // set when every check passed
    int messageId = 0;                       // the message to show when one failed (0: none)
    std::string detail;                      // the trace or file behind it
    bool Ok() const { return settings != nullptr; }
};

// The configuration bootstrap, the rule engine check (294), the three settings documents (222),
// the region this build expects (222) and the group settings of the latest format.
StartupResult RunStartup();
