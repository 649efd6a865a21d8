// qmvvlt-radiosim: a virtual radio on a pseudo-terminal, for trying the program without hardware.
#include <csignal>
#include <iostream>
#include <memory>

#include "CPseudoTerminal.h"
#include "CRadioSeries.h"
#include "CRadioSimServer.h"
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
    if (options->help) {
        std::cout << SimOptions::Usage();
        return 0;
    }
    if (options->version) {
        std::cout << "qmvvlt-radiosim " << QMVVLT_VERSION << "\n";
        return 0;
    }
    const auto image = options->StartImage(error);
    if (!image) {
        std::cerr << "qmvvlt-radiosim: " << error << "\n";
        return 2;
    }

    CPseudoTerminal line(options->link);
    if (!line.IsOpen()) {
        std::cerr << "qmvvlt-radiosim: " << line.Error() << "\n";
        return 2;
    }
    const auto log = [&](const std::string& text) {
        if (!options->quiet) {
            std::cerr << text << std::endl;
        }
    };
    std::unique_ptr<CVirtualRadio> radio;
    std::unique_ptr<CRadioSeries> series;
    if (options->series.count > 0) {
        if (CRadioSeries::Pids(options->series, image->limits.pid, error).empty()) {
            std::cerr << "qmvvlt-radiosim: " << error << "\n";
            return 1;
        }
        series = std::make_unique<CRadioSeries>(*image, options->faults, options->series, log);
        series->SetCapture(options->capturePid, options->capturePolls);
        series->SetFinishDelayMs(options->finishDelayMs);
    } else {
        radio = std::make_unique<CVirtualRadio>(*image, options->faults);
        radio->SetCapture(options->capturePid, options->capturePolls);
        radio->SetFinishDelayMs(options->finishDelayMs);
    }

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << line.PortName() << std::endl;
    CRadioSimServer server(series ? static_cast<ISimRadio&>(*series) : *radio, line,
                           options->faults.pace, log);
    server.Run(&g_interrupted);
    if (series) {
        series->SaveCurrent();
    }
    return 0;
}
