#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "CCliInterrupt.h"
#include "CCliSession.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CRadioBackup.h"
#include "CRegister.h"
#include "CStation.h"
#include "CUnitList.h"
#include "CUnitProfile.h"
#include "CliArgs.h"
#include "CliRadio.h"
#include "Commands.h"
#include "CsvRefusal.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StationText.h"
#include "StringTable.h"

namespace {

// A radio's outcome on one line.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n') {
            c = ' ';
        }
    }
    return text;
}

// A line per radio on standard output (port, PID, unit, outcome, seconds, tab-separated), and a
// port that cannot be used on standard error, as the ports report them.
class CStationPrinter : public IStationObserver {
  public:
    explicit CStationPrinter(const std::vector<std::string>& ports) : m_ports(ports) {}

    void OnPortState(int port, const CStationPortState& state) override {
        if (state.phase != CStationPortState::Phase::kFailed || !state.pid.empty() ||
            state.reason.empty()) {
            return;
        }
        std::lock_guard lock(m_mutex);
        std::cerr << m_ports[static_cast<std::size_t>(port)] << ": " << StationStateText(state)
                  << std::endl;
    }
    void OnRadio(int port, const CStationRadioResult& result) override {
        const CRegisterRecord& r = result.record;
        std::lock_guard lock(m_mutex);
        std::cout << m_ports[static_cast<std::size_t>(port)] << '\t' << r.pid << '\t' << r.unit
                  << '\t' << OneLine(r.outcomeText) << '\t' << Fixed(result.seconds, 1)
                  << std::endl;
        if (result.kind == CStationRadioResult::Kind::kFailed) {
            m_lastFailure = r.outcome;
        }
    }

    // 0 when no radio failed, else the status of the last failure.
    int ExitStatus() const {
        std::lock_guard lock(m_mutex);
        return m_lastFailure == 0 ? kExitOk : CliRadio::StatusOf(m_lastFailure);
    }

  private:
    const std::vector<std::string>& m_ports;
    mutable std::mutex m_mutex;
    int m_lastFailure = 0;
};

// Calls onEnd when standard input ends (Ctrl-D on a terminal), for as long as it lives.
class CEndOfInput {
  public:
    explicit CEndOfInput(std::function<void()> onEnd)
        : m_thread([this, onEnd = std::move(onEnd)] {
              char buffer[256];
              while (!m_done) {
                  pollfd in{STDIN_FILENO, POLLIN, 0};
                  if (::poll(&in, 1, 100) <= 0) {
                      continue;
                  }
                  if ((in.revents & (POLLIN | POLLHUP)) == 0 ||
                      ::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                      onEnd();
                      return;
                  }
              }
          }) {}
    ~CEndOfInput() {
        m_done = true;
        m_thread.join();
    }
    CEndOfInput(const CEndOfInput&) = delete;
    CEndOfInput& operator=(const CEndOfInput&) = delete;

  private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

void PrintSummary(const std::vector<CStationPortSummary>& ports) {
    const CStringTable& table = CStringTable::Instance();
    for (const CStationPortSummary& port : ports) {
        std::cout << table.Format(
                         MessageId::kStationPortSummary,
                         {port.port, std::to_string(port.written), std::to_string(port.failed),
                          std::to_string(port.refused), Fixed(port.RadiosPerHour(), 1)})
                  << '\n';
    }
    const CStationPortSummary total = CStation::Total(ports);
    std::cout << table.Format(MessageId::kStationTotal,
                              {std::to_string(total.written), std::to_string(total.failed),
                               std::to_string(total.refused), Fixed(total.seconds, 0),
                               Fixed(total.RadiosPerHour(), 1)})
              << '\n';
}

int CountOption(const CCliArgs& args) {
    const auto text = args.Value("--count");
    if (!text) {
        return 0;
    }
    char* end = nullptr;
    const long count = std::strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0' || count < 1 || count > 1000000) {
        throw CliUsageError{"--count takes a number of radios (1 or more)"};
    }
    return static_cast<int>(count);
}

}  // namespace

// The programming station: every port works side by side, radio after radio, until Ctrl-C, the
// end of input (without --count) or --count radios written.
int CmdStation(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--port", "--units", "--password", "--count", "--trace-dir"},
                        {"--listed-only", "--backup", "--verify", "--accept-unsupported"});
    args.ExpectPositionals(1, 1);
    CStationJob job;
    job.ports = args.Values("--port");
    if (job.ports.empty()) {
        throw CliUsageError{"missing --port P"};
    }
    const auto unitFile = args.Value("--units");
    job.listedOnly = args.Flag("--listed-only");
    if (job.listedOnly && !unitFile) {
        throw CliUsageError{"--listed-only needs --units FILE.csv"};
    }
    job.count = CountOption(args);

    CCliSession session(ctx, false);
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(args.Positionals()[0])) {
        return kExitDataError;
    }
    job.environment = session.App().ModelEnvironment(session.InstallPath());
    job.profile = doc.TakeSnapshot();
    job.profileFile = args.Positionals()[0];
    std::unique_ptr<CUnitList> units;
    if (unitFile) {
        CUnitProfile profile(job.environment, job.profile);
        units = std::make_unique<CUnitList>(CUnitList::ReadFile(*unitFile, profile));
        if (!units->Accepted()) {
            for (const CsvRefusal& refusal : units->Refusals()) {
                std::cerr << *unitFile << ": " << FormatRefusal(refusal) << '\n';
            }
            std::cerr << LoadString(MessageId::kStationUnitListRefused) << '\n';
            return kExitDataError;
        }
        job.units = units.get();
    }
    if (args.Flag("--backup")) {
        job.backupFolder = CRadioBackup::UserFolder();
        job.app = &session.App();  // this thread only waits while the ports work
    }
    job.verify = args.Flag("--verify");
    job.password = args.Value("--password");
    if (const char* fromEnvironment = std::getenv("QMVVLT_PASSWORD");
        !job.password && fromEnvironment) {
        job.password = fromEnvironment;
    }
    job.acceptUnsupported = args.Flag("--accept-unsupported");
    if (const auto dir = args.Value("--trace-dir")) {
        job.traceDir = *dir;
    }
    std::unique_ptr<CRegister> reg;
    try {
        reg = std::make_unique<CRegister>(CRegisterOptions::FromConfiguration(ctx.registerUrl));
    } catch (const CQMVVLTException& e) {
        if (e.Code() != MessageId::kRegisterBadUrl) {
            throw;
        }
        std::cerr << e.Message() << '\n';
        return kExitDataError;
    }
    job.reg = reg.get();

    CStationPrinter printer(job.ports);
    CStation station(job, &printer);
    if (!station.Start()) {
        std::cerr << station.BusyPort() << ": " << RadioResultText(kPortBusy) << '\n';
        return CliRadio::StatusOf(kPortBusy);
    }
    {
        const CCliInterrupt interrupt([&station] { station.Stop(); });
        std::unique_ptr<CEndOfInput> endOfInput;
        if (job.count == 0) {
            endOfInput = std::make_unique<CEndOfInput>([&station] { station.Stop(); });
        }
        station.Wait();
    }
    PrintSummary(station.Summary());
    reg->Flush();
    if (const std::string status = reg->Status().Text(); !status.empty()) {
        std::cerr << status << '\n';
    }
    return printer.ExitStatus();
}
