// The programming station on 1, 2 and 4 cables, each a series of virtual radios swapped by an
// operator, at the real 9600-baud pace, writing the full profile (150 contacts, 25 texts), with
// backup and verify off (arg 0) and on (arg 1).
//
// Counters:
//   radios_per_h      radios written per hour, all cables together
//   bound_per_h       the wire-limited bound: per cable, one radio every backup read + write +
//                     verify read (their bytes at 960 bytes/s) + the FinishWrite pause + the swap
//   of_bound          the time the wire-limited bound allows for the job / the time it took
//                     (1.0: as fast as the wire; the target is 0.95 or more)
//   first_frame_s     the longest time from a radio's first answer to its first write frame
//   cpu_per_cable     the station's CPU time (the virtual radios' own threads left out) per cable,
//                     as a share of one core over the job
// QMVVLT_BENCH_RADIOS sets the radios per cable (default 2; 1 is the short mode: no swap is
// measured then, and the bound leaves the swap out).
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "CAppSettings.h"
#include "CProfileWriter.h"
#include "CPseudoTerminal.h"
#include "CRadioSeries.h"
#include "CRadioSimServer.h"
#include "CRegister.h"
#include "CStation.h"
#include "CTransferOperations.h"
#include "CTransferWorker.h"
#include "FullProfile.h"
#include "LoadSettingDoc.h"
#include "RadioProtocol.h"
#include "RadioResult.h"
#include "SimFixture.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kBytesPerSecond = 960.0;  // 9600 baud, 10 bits a byte
constexpr std::chrono::milliseconds kSwap{2000};

int RadiosPerCable() {
    const char* text = std::getenv("QMVVLT_BENCH_RADIOS");
    const int radios = text ? std::atoi(text) : 2;
    return std::clamp(radios, 1, 20);
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The radios of one cable, watched: when each first answers, when its first write frame comes,
// and the CPU its server thread has used (measured on that thread as it answers).
class CWatchedSeries : public ISimRadio {
  public:
    CWatchedSeries(const CVirtualCodeplug& start, CSimSeries series)
        : m_series(start, {}, std::move(series)) {}

    std::vector<std::uint8_t> Handle(std::uint8_t opcode,
                                     const std::vector<std::uint8_t>& data) override {
        auto reply = m_series.Handle(opcode, data);
        const auto now = Clock::now();
        std::lock_guard lock(m_mutex);
        const int place = m_series.Current();
        if (!reply.empty() && !m_answered.count(place)) {
            m_answered[place] = now;
        }
        if (opcode == kOpWriteSettings && !m_firstWrite.count(place)) {
            m_firstWrite[place] = now;
        }
        m_serverCpu = ThreadCpuSeconds();
        return reply;
    }
    bool HungUp() const override { return m_series.HungUp(); }
    int FinishDelayMs() const override { return m_series.FinishDelayMs(); }

    // The longest time from a radio's first answer to its first write frame.
    double LongestFirstFrame() const {
        std::lock_guard lock(m_mutex);
        double longest = 0;
        for (const auto& [place, written] : m_firstWrite) {
            const auto answered = m_answered.find(place);
            if (answered != m_answered.end()) {
                longest = std::max(
                    longest, std::chrono::duration<double>(written - answered->second).count());
            }
        }
        return longest;
    }
    double ServerCpu() const {
        std::lock_guard lock(m_mutex);
        return m_serverCpu;
    }

  private:
    CRadioSeries m_series;
    mutable std::mutex m_mutex;
    std::map<int, Clock::time_point> m_answered;
    std::map<int, Clock::time_point> m_firstWrite;
    double m_serverCpu = 0;
};

struct CCable {
    CCable(const CVirtualCodeplug& start, CSimSeries series)
        : radios(start, std::move(series)), server(radios, line, true) {
        server.Start();
    }
    CPseudoTerminal line;
    CWatchedSeries radios;
    CRadioSimServer server;
};

const fs::path kData = QMVVLT_SOURCE_DATA_DIR;

CAppSettings& App() {
    static CAppSettings app(
        CHelpPaneSetting(LoadSettingDocFile(kData / "lib/HelpPane.stv")),
        CRegionSetting(LoadSettingDocFile(kData / "lib/Region.stv")),
        CUpDownGradeSetting(LoadSettingDocFile(kData / "lib/UpDownGradeSetting.stv")));
    return app;
}

// The full profile as a job's document holds it.
CProfileSnapshot FullProfileSnapshot() {
    std::string text;
    CProfileWriter::VirtualCP2XML(MakeRuleConsistentFullImage(), text);
    CRadioDataModel model(App().ModelEnvironment(kData));
    model.LoadProfileContents("fleet.lam", text, false);
    return model.TakeSnapshot();
}

// The seconds one radio's backup read, write and verify read take on the wire (bytes at 960 a
// second), measured once on an unpaced virtual radio.
double WireSeconds(bool backupAndVerify) {
    CPseudoTerminal line;
    CVirtualRadio radio(FullRadio());
    radio.SetFinishDelayMs(0);
    CRadioSimServer server(radio, line, false);
    server.Start();
    CTransferContext context;
    context.finishPause = std::chrono::milliseconds(0);
    CTransferOperations operations(context);
    const CVirtualCodeplug image = MakeRuleConsistentFullImage();
    long long bytes = 0;
    auto measure = [&](const std::function<int()>& operation) {
        const long long before = server.BytesIn() + server.BytesOut();
        int code = 0;
        CTransferWorker worker([&] { code = operation(); });
        worker.Start();
        worker.Wait();
        if (code == kRadioSuccess) {
            bytes += server.BytesIn() + server.BytesOut() - before;
        }
        return code == kRadioSuccess;
    };
    CVirtualCodeplug backup;
    CRadioBlocks sent;
    CRadioBlocks back;
    if ((backupAndVerify &&
         !measure([&] { return operations.ReadCodeplug(line.PortName(), backup); })) ||
        !measure([&] { return operations.WriteCodeplug(line.PortName(), image, &sent); }) ||
        (backupAndVerify && !measure([&] { return operations.ReadBack(line.PortName(), back); }))) {
        return 0;
    }
    return static_cast<double>(bytes) / kBytesPerSecond;
}

class CCountingObserver : public IStationObserver {
  public:
    void OnPortState(int, const CStationPortState&) override {}
    void OnRadio(int, const CStationRadioResult& result) override {
        if (result.kind != CStationRadioResult::Kind::kWritten) {
            failed = true;
        }
    }
    std::atomic<bool> failed{false};
};

void BM_StationJob(benchmark::State& state) {
    const int cables = static_cast<int>(state.range(0));
    const bool backupAndVerify = state.range(1) != 0;
    const int radios = RadiosPerCable();
    const fs::path backups = fs::temp_directory_path() / "qmvvlt-bench-station-backups";
    const fs::path registerFile = fs::temp_directory_path() / "qmvvlt-bench-station.sqlite";
    for (auto _ : state) {
        std::vector<std::unique_ptr<CCable>> lines;
        for (int c = 0; c < cables; ++c) {
            CSimSeries series;
            series.count = radios;
            series.swap = kSwap;
            CVirtualCodeplug start = FullRadio();
            start.limits.pid = std::u16string(u"1000") + static_cast<char16_t>(u'1' + c) + u"004";
            lines.push_back(std::make_unique<CCable>(start, series));
        }
        CRegisterOptions options;
        options.localFile = registerFile;
        CRegister reg(options);
        CStationJob job;
        job.environment = App().ModelEnvironment(kData);
        job.profile = FullProfileSnapshot();
        job.profileFile = "fleet.lam";
        for (const auto& line : lines) {
            job.ports.push_back(line->line.PortName());
        }
        job.verify = backupAndVerify;
        if (backupAndVerify) {
            job.backupFolder = backups;
            job.app = &App();
        }
        job.count = cables * radios;
        job.reg = &reg;
        CCountingObserver observer;
        CStation station(job, &observer);
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = Clock::now();
        if (!station.Start()) {
            state.SkipWithError("the station did not start");
            return;
        }
        station.Wait();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        double serverCpu = 0;
        double firstFrame = 0;
        for (const auto& line : lines) {
            serverCpu += line->radios.ServerCpu();
            firstFrame = std::max(firstFrame, line->radios.LongestFirstFrame());
        }
        const double stationCpu = ProcessCpuSeconds() - cpuBefore - serverCpu;
        state.SetIterationTime(seconds);
        if (observer.failed) {
            state.SkipWithError("a radio was not written");
            return;
        }
        const double wire = WireSeconds(backupAndVerify);
        const double pause = std::chrono::duration<double>(job.finishPause).count();
        const double swap = radios > 1 ? std::chrono::duration<double>(kSwap).count() : 0;
        const double boundSeconds = radios * (wire + pause) + (radios - 1) * swap;
        state.counters["radios_per_h"] = cables * radios * 3600.0 / seconds;
        state.counters["bound_per_h"] = cables * 3600.0 / (wire + pause + swap);
        state.counters["of_bound"] = boundSeconds / seconds;
        state.counters["first_frame_s"] = firstFrame;
        state.counters["cpu_per_cable"] = stationCpu / seconds / cables;
        state.counters["taken_s"] = seconds;
    }
    std::error_code ec;
    fs::remove_all(backups, ec);
    fs::remove(registerFile, ec);
}
BENCHMARK(BM_StationJob)
    ->ArgsProduct({{1, 2, 4}, {0, 1}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
