// qmvvlt-radiosim: a virtual radio on a pseudo-terminal, for trying the program without hardware.
#include <csignal>
#include <fstream>
#include <iostream>
#include <iterator>

#include "CPseudoTerminal.h"
#include "CRadioSimServer.h"
#include "CVirtualCodeplugJson.h"
#include "CVirtualRadio.h"
#include "SimOptions.h"

namespace {
std::atomic<bool> g_interrupted{false};
void OnSignal(int) {
    g_interrupted = true;
}
}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = SimOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "qmvvlt-radiosim: " << error << "\n" << SimOptions::Usage();
        return 1;
    }
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    if (!options->imagePath.empty()) {
        std::ifstream in(options->imagePath, std::ios::binary);
        const std::string json((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        auto loaded = in ? CVirtualCodeplugJson::FromJson(json, &error) : std::nullopt;
        if (!loaded) {
            std::cerr << "qmvvlt-radiosim: cannot load " << options->imagePath << ": " << error
                      << "\n";
            return 2;
        }
        image = *loaded;
    }
    options->Apply(image);

    CPseudoTerminal line(options->link);
    if (!line.IsOpen()) {
        std::cerr << "qmvvlt-radiosim: " << line.Error() << "\n";
        return 2;
    }
    CVirtualRadio radio(image, options->faults);
    radio.SetCapture(options->capturePid, options->capturePolls);
    radio.SetFinishDelayMs(options->finishDelayMs);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << line.PortName() << std::endl;
    CRadioSimServer server(radio, line, options->faults.pace, [&](const std::string& text) {
        if (!options->quiet) {
            std::cerr << text << std::endl;
        }
    });
    server.Run(&g_interrupted);
    return 0;
}
