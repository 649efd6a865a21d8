// A full write and a full read (also with a wire trace) of 150 contacts and 25 texts against the
// virtual radio at 9600-baud pace, and the full write to several radios on several ports at once.
// The physical limit is the bytes on the wire at 960 bytes a second (plus the 4 s pause of
// FinishWrite for a write); the counters report the limit and the ratio of the time taken to it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "CPseudoTerminal.h"
#include "CRadioSimServer.h"
#include "CTransferOperations.h"
#include "CTransferWorker.h"
#include "CVirtualRadio.h"
#include "CWireTrace.h"
#include "FullProfile.h"
#include "RadioResult.h"
#include "SimFixture.h"

namespace {

// Runs an operation on a QThread, as the program does, and gives its result code.
template <class Operation>
int OnWorker(Operation operation) {
    int code = 0;
    CTransferWorker worker([&] { code = operation(); });
    worker.Start();
    worker.Wait();
    return code;
}

constexpr double kBytesPerSecond = 960.0;

void Report(benchmark::State& state, const CRadioSimServer& server, double seconds,
            double pauseSeconds) {
    const double bytes = static_cast<double>(server.BytesIn() + server.BytesOut());
    const double limit = bytes / kBytesPerSecond + pauseSeconds;
    state.counters["wire_bytes"] = bytes;
    state.counters["limit_s"] = limit;
    state.counters["taken_s"] = seconds;
    state.counters["ratio"] = seconds / limit;
}

void BM_FullWrite(benchmark::State& state) {
    const CVirtualCodeplug source = MakeFullImage();
    for (auto _ : state) {
        CPseudoTerminal line;
        CVirtualRadio radio(FullRadio());
        CRadioSimServer server(radio, line, true);
        server.Start();
        CTransferContext context;
        CTransferOperations operations(context);
        const auto start = std::chrono::steady_clock::now();
        const int code =
            OnWorker([&] { return operations.WriteCodeplug(line.PortName(), source); });
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(taken.count());
        if (code != kRadioSuccess) {
            state.SkipWithError("write failed");
            return;
        }
        Report(state, server, taken.count(),
               std::chrono::duration<double>(context.finishPause).count());
    }
}
BENCHMARK(BM_FullWrite)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// traced: every frame also goes to a wire trace, which must not slow the line down.
void FullRead(benchmark::State& state, bool traced) {
    // The radio holds what a full write leaves behind.
    CPseudoTerminal setupLine;
    CVirtualRadio radio(FullRadio());
    {
        CRadioSimServer setup(radio, setupLine, false);
        setup.Start();
        CTransferContext context;
        context.finishPause = std::chrono::milliseconds(50);
        radio.SetFinishDelayMs(0);
        const CVirtualCodeplug source = MakeFullImage();
        if (OnWorker([&] {
                return CTransferOperations(context).WriteCodeplug(setupLine.PortName(), source);
            }) != kRadioSuccess) {
            state.SkipWithError("setup write failed");
            return;
        }
    }
    for (auto _ : state) {
        CPseudoTerminal line;
        CRadioSimServer server(radio, line, true);
        server.Start();
        CTransferContext context;
        if (traced) {
            context.SetTrace(std::make_shared<CWireTrace>(std::filesystem::temp_directory_path() /
                                                          "qmvvlt-bench-trace.txt"));
        }
        CVirtualCodeplug read;
        const auto start = std::chrono::steady_clock::now();
        const int code = OnWorker(
            [&] { return CTransferOperations(context).ReadCodeplug(line.PortName(), read); });
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(taken.count());
        if (code != kRadioSuccess) {
            state.SkipWithError("read failed");
            return;
        }
        Report(state, server, taken.count(), 0.0);
    }
}
void BM_FullRead(benchmark::State& state) {
    FullRead(state, false);
}
BENCHMARK(BM_FullRead)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_TracedFullRead(benchmark::State& state) {
    FullRead(state, true);
}
BENCHMARK(BM_TracedFullRead)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The same full write to N radios on N ports at once, each with a transfer context of its own: the
// operations do not wait for each other, so all N take about as long as one (limit_s is the
// slowest port's wire time).
void BM_FullWritesSideBySide(benchmark::State& state) {
    const auto ports = static_cast<std::size_t>(state.range(0));
    const CVirtualCodeplug source = MakeFullImage();
    for (auto _ : state) {
        std::vector<std::unique_ptr<CPseudoTerminal>> lines;
        std::vector<std::unique_ptr<CVirtualRadio>> radios;
        std::vector<std::unique_ptr<CRadioSimServer>> servers;
        std::vector<std::unique_ptr<CTransferContext>> contexts;
        std::vector<int> codes(ports, 0);
        for (std::size_t i = 0; i < ports; ++i) {
            lines.push_back(std::make_unique<CPseudoTerminal>());
            radios.push_back(std::make_unique<CVirtualRadio>(FullRadio()));
            servers.push_back(std::make_unique<CRadioSimServer>(*radios[i], *lines[i], true));
            servers[i]->Start();
            contexts.push_back(std::make_unique<CTransferContext>());
        }
        const auto start = std::chrono::steady_clock::now();
        {
            std::vector<std::unique_ptr<CTransferWorker>> workers;
            for (std::size_t i = 0; i < ports; ++i) {
                workers.push_back(std::make_unique<CTransferWorker>([&, i] {
                    codes[i] = CTransferOperations(*contexts[i])
                                   .WriteCodeplug(lines[i]->PortName(), source);
                }));
                workers.back()->Start();
            }
        }  // each worker waits for its write
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(taken.count());
        if (std::count(codes.begin(), codes.end(), kRadioSuccess) != state.range(0)) {
            state.SkipWithError("a write failed");
            return;
        }
        const auto slowest = std::max_element(servers.begin(), servers.end(), [](auto& a, auto& b) {
            return a->BytesIn() + a->BytesOut() < b->BytesIn() + b->BytesOut();
        });
        Report(state, **slowest, taken.count(),
               std::chrono::duration<double>(contexts[0]->finishPause).count());
    }
}
BENCHMARK(BM_FullWritesSideBySide)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace
