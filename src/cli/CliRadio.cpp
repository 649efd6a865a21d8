#include "CliRadio.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>

#include "CQtPortLister.h"
#include "CTransferWorker.h"
#include "ITransferObserver.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StringTable.h"
#include "Utility.h"

namespace {

constexpr int kRadioExitBase = 100;
// 304: "No COM port is detected on this computer."
constexpr int kNoPortMessage = 304;

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) {
    g_interrupted = true;
}

// Progress on standard error: a bar on a terminal, a line per stage otherwise.
class CProgressObserver : public ITransferObserver {
  public:
    CProgressObserver(CTransferContext& context, std::function<bool(int)> askWarning)
        : m_context(context),
          m_askWarning(std::move(askWarning)),
          m_terminal(::isatty(STDERR_FILENO) != 0) {}

    void OnProgress(int percent) override {
        if (m_terminal) {
            const int filled = percent / 5;
            std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                      << std::string(static_cast<std::size_t>(20 - filled), ' ') << "] " << percent
                      << "%" << std::flush;
        } else {
            std::cerr << "progress " << percent << "%\n";
        }
    }
    void OnDone() override { EndLine(); }
    void OnFailed(int) override { EndLine(); }
    // Without someone to ask, nothing is done unasked.
    void OnWarning(int warning) override {
        EndLine();
        m_context.AnswerWarning(m_askWarning && m_askWarning(warning));
    }

  private:
    void EndLine() const {
        if (m_terminal) {
            std::cerr << "\n";
        }
    }
    CTransferContext& m_context;
    std::function<bool(int)> m_askWarning;
    bool m_terminal;
};

}  // namespace

std::string CliRadio::ChoosePort(const CCliArgs& args) {
    if (const auto port = args.Value("--port")) {
        return *port;
    }
    const CQtPortLister lister;
    const CCableDiscovery discovery(lister);
    return discovery.GetCurrentPort(false,
                                    {Utility::GetAutoDetect(), Utility::GetCurrentComPort()});
}

int CliRadio::Run(CTransferContext& context, const std::function<int()>& operation,
                  const std::function<bool(int)>& askWarning) {
    CProgressObserver observer(context, askWarning);
    context.SetObserver(&observer);
    context.ClearCancel();
    g_interrupted = false;
    struct sigaction action {};
    struct sigaction previous {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous);

    int code = 0;
    CTransferWorker worker([&] { code = operation(); });
    worker.Start();
    while (!worker.Wait(50)) {
        if (g_interrupted) {
            context.RequestCancel();
        }
    }
    sigaction(SIGINT, &previous, nullptr);
    context.SetObserver(nullptr);
    return code;
}

int CliRadio::ExitStatus(int code) {
    if (code == kRadioSuccess) {
        return 0;
    }
    std::cerr << RadioResultText(code) << "\n";
    return kRadioExitBase + std::abs(code);
}

int CliRadio::NoPort() {
    std::cerr << LoadString(kNoPortMessage) << "\n";
    return kExitDataError;
}
