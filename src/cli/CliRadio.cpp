#include "CliRadio.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "CQtPortLister.h"
#include "CTransferRun.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StringTable.h"
#include "Utility.h"

namespace {

constexpr int kRadioExitBase = 100;
constexpr int kBarWidth = 20;
constexpr int kStageSpan = 20;

// Progress on standard error: a bar on a terminal that moves with every record, a line per stage
// otherwise.
class CProgressObserver : public ITransferObserver {
  public:
    CProgressObserver(CTransferContext& context, std::function<bool(TransferWarning)> askWarning,
                      bool show)
        : m_context(context),
          m_askWarning(std::move(askWarning)),
          m_show(show),
          m_terminal(::isatty(STDERR_FILENO) != 0) {}

    void OnProgress(int percent) override {
        m_stage = percent;
        if (!m_show) {
            return;
        }
        if (m_terminal) {
            Draw(percent);
        } else {
            std::cerr << CStringTable::Instance().Format(MessageId::kCliProgress,
                                                         {std::to_string(percent)})
                      << "\n";
        }
    }
    void OnRecord(int done, int total) override {
        if (m_show && m_terminal && total > 0) {
            Draw(m_stage + kStageSpan * done / total);
        }
    }
    void OnDone() override {
        if (m_show) {
            OnProgress(100);
        }
        EndLine();
    }
    void OnFailed(RadioResult) override { EndLine(); }
    // Without someone to ask, nothing is done unasked.
    void OnWarning(TransferWarning warning) override {
        EndLine();
        m_context.AnswerWarning(m_askWarning && m_askWarning(warning));
    }

  private:
    void Draw(int percent) {
        percent = std::min(percent, 100);
        if (percent == m_drawn) {
            return;
        }
        m_drawn = percent;
        const int filled = percent * kBarWidth / 100;
        std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << "] "
                  << percent << "%" << std::flush;
    }
    void EndLine() {
        if (m_drawn >= 0) {
            std::cerr << "\n";
            m_drawn = -1;
        }
    }

    CTransferContext& m_context;
    std::function<bool(TransferWarning)> m_askWarning;
    bool m_show;
    bool m_terminal;
    int m_stage = 0;
    int m_drawn = -1;
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
                  const std::function<bool(TransferWarning)>& askWarning, bool showProgress) {
    CProgressObserver observer(context, askWarning, showProgress);
    CTransferRun run(context, &observer, operation);
    run.Wait();
    return run.Result();
}

std::string CliRadio::FailureText(int code, const CTransferContext& context) {
    return WithPortProblem(RadioResultText(code), code, context.PortProblem());
}

int CliRadio::ExitStatus(int code, const CTransferContext& context) {
    if (code != kRadioSuccess) {
        std::cerr << FailureText(code, context) << "\n";
    }
    return StatusOf(code);
}

int CliRadio::StatusOf(int code) {
    return code == kRadioSuccess ? 0 : kRadioExitBase + std::abs(code);
}

int CliRadio::NoPort() {
    std::cerr << LoadString(MessageId::kNoComPort) << "\n";
    return kExitDataError;
}

std::shared_ptr<CWireTrace> CliRadio::TraceFile(const CCliArgs& args, bool& ok) {
    ok = true;
    const auto path = args.Value("--trace");
    if (!path) {
        return nullptr;
    }
    auto trace = std::make_shared<CWireTrace>(*path);
    if (!trace->IsOpen()) {
        std::cerr << CStringTable::Instance().Format(MessageId::kTraceNotWritable, {*path}) << "\n";
        ok = false;
        return nullptr;
    }
    return trace;
}
