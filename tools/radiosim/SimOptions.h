#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CSimFaults.h"
#include "CSimSeries.h"
#include "CVirtualCodeplug.h"

// The command line of qmvvlt-radiosim.
struct SimOptions {
    std::string link;         // --link PATH
    std::string imagePath;    // --image FILE (JSON image)
    std::string profilePath;  // --profile FILE (a profile, .lam or plain XML)
    std::optional<std::u16string> password;
    bool modifiedBand = false;
    bool incompatible = false;
    bool oldFirmware = false;
    bool unsupportedFirmware = false;
    std::u16string capturePid;
    int capturePolls = 1;
    int finishDelayMs = 1000;
    bool quiet = false;
    bool help = false;
    bool version = false;
    CSimFaults faults;
    CSimSeries series;  // count 0: one radio

    // Parses the arguments (without the program name); on a mistake returns nothing and says why.
    static std::optional<SimOptions> Parse(const std::vector<std::string>& args,
                                           std::string& error);
    static const char* Usage();

    // The image the radio starts with: the JSON image when one was named, else the default
    // radio; then the options that change it. Nothing when the image cannot be read (error says
    // why).
    std::optional<CVirtualCodeplug> StartImage(std::string& error) const;
    // Applies the options that change an image.
    void Apply(CVirtualCodeplug& image) const;
};
