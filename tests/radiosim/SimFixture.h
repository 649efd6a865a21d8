#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CPseudoTerminal.h"
#include "CRadioSeries.h"
#include "CRadioSimServer.h"
#include "CTransferWorker.h"
#include "CVirtualRadio.h"

// A virtual radio served on a pseudo-terminal on a thread of its own, with its frame log kept.
class CSimRadio {
  public:
    explicit CSimRadio(CVirtualCodeplug image = CVirtualRadio::DefaultImage(),
                       CSimFaults faults = {})
        : radio(std::move(image), faults),
          server(radio, line, faults.pace, [this](const std::string& text) {
              std::lock_guard lock(m_mutex);
              m_log.push_back(text);
          }) {
        radio.SetFinishDelayMs(0);
        server.Start();
    }
    ~CSimRadio() { server.Stop(); }

    std::string Port() const { return line.PortName(); }
    std::vector<std::string> Log() const {
        std::lock_guard lock(m_mutex);
        return m_log;
    }

    CPseudoTerminal line;
    CVirtualRadio radio;
    CRadioSimServer server;

  private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_log;
};

// A series of virtual radios swapped on one cable, served on a pseudo-terminal on a thread of its
// own; radios.Units() gives each radio's image.
class CSimSeriesRadio {
  public:
    CSimSeriesRadio(const CVirtualCodeplug& start, CSimSeries series, CSimFaults faults = {})
        : radios(start, faults, std::move(series)), server(radios, line, faults.pace) {
        radios.SetFinishDelayMs(0);
        server.Start();
    }
    ~CSimSeriesRadio() { server.Stop(); }

    std::string Port() const { return line.PortName(); }

    CPseudoTerminal line;
    CRadioSeries radios;
    CRadioSimServer server;
};

// A radio that takes the full image (MakeFullImage) without a warning: its own PID is the second
// private contact's, and it has room for every group.
inline CVirtualCodeplug FullRadio() {
    CVirtualCodeplug radio = CVirtualRadio::DefaultImage();
    radio.limits.pid = u"10000004";
    radio.limits.max_num_of_private_grps = 40;
    radio.limits.max_num_of_public_grps = 30;
    return radio;
}

// Runs body on a QThread, as the program runs everything that owns a serial port.
template <class Body>
void OnQThread(Body body) {
    CTransferWorker worker(body);
    worker.Start();
    worker.Wait();
}
