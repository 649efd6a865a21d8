// The register of radio operations with 100 000 records (10 000 radios, ten operations each) in
// SQLite: a radio's history, and the radios whose last write was of another profile. Both over a
// connection held open (as a window holds one) and through CRegister (a connection per query),
// and, for the unit list, checking a list of 200 radios with three settings each against the
// full profile.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <random>

#include "CProfileWriter.h"
#include "CRegister.h"
#include "CRegisterDatabase.h"
#include "CUnitList.h"
#include "CUnitProfile.h"
#include "CUpDownGradeSetting.h"
#include "FullProfile.h"
#include "LoadSettingDoc.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRadios = 10000;
constexpr int kOperationsPerRadio = 10;
const std::string kCurrent(64, 'c');
const std::string kOlder(64, 'o');

// A temporary folder of this run, removed when the program ends.
const fs::path& TempFolder() {
    struct Folder {
        fs::path path;
        Folder() {
            std::string pattern = (fs::temp_directory_path() / "qmvvlt-bench-XXXXXX").string();
            path = mkdtemp(pattern.data());
        }
        ~Folder() {
            std::error_code ec;
            fs::remove_all(path, ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

std::string Pid(int radio) {
    return std::to_string(10000000 + radio);
}

// A register file made once per run: every radio written, read and reset over some weeks; seven
// in ten radios' last write is of the current profile.
const fs::path& RegisterFile() {
    static const fs::path file = [] {
        const fs::path path = TempFolder() / "register.sqlite";
        CRegisterDatabase db(CRegisterLocation::Sqlite(path));
        std::vector<CRegisterRecord> batch;
        const char* kinds[] = {RegisterOperation::kStationWrite, RegisterOperation::kRead,
                               RegisterOperation::kWrite, RegisterOperation::kReset};
        for (int op = 0; op < kOperationsPerRadio; ++op) {
            for (int radio = 0; radio < kRadios; ++radio) {
                CRegisterRecord r;
                r.id = std::to_string(op) + "-" + std::to_string(radio);
                char time[32];
                std::snprintf(time, sizeof time, "2024-03-%02dT%02d:%02d:%02d.000Z", 1 + op,
                              radio / 3600 % 24, radio / 60 % 60, radio % 60);
                r.time = time;
                r.operation = kinds[(op + radio) % 4];
                r.pid = Pid(radio);
                r.station = "bench-" + std::to_string(radio % 4);
                r.port = "/dev/ttyUSB" + std::to_string(radio % 4);
                r.profileFile = "fleet.lam";
                r.profileHash =
                    op == kOperationsPerRadio - 1 && radio % 10 >= 7 ? kOlder : kCurrent;
                r.imageHash = std::string(64, 'i');
                r.outcome = radio % 50 == 0 ? -9 : 1;
                r.outcomeText = "Writing successful.";
                batch.push_back(std::move(r));
            }
            db.Insert(batch);
            batch.clear();
        }
        return path;
    }();
    return file;
}

void BM_RegisterHistory(benchmark::State& state) {
    CRegisterDatabase db(CRegisterLocation::Sqlite(RegisterFile()));
    std::mt19937 random(1);
    for (auto _ : state) {
        CRegisterFilter filter;
        filter.pid = Pid(static_cast<int>(random() % kRadios));
        benchmark::DoNotOptimize(db.List(filter));
    }
}
BENCHMARK(BM_RegisterHistory)->Unit(benchmark::kMillisecond);

void BM_RegisterNotOnProfile(benchmark::State& state) {
    CRegisterDatabase db(CRegisterLocation::Sqlite(RegisterFile()));
    std::size_t found = 0;
    for (auto _ : state) {
        found = db.NotOnProfile(kCurrent).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["radios"] = static_cast<double>(found);
}
BENCHMARK(BM_RegisterNotOnProfile)->Unit(benchmark::kMillisecond);

// Through the register's own API: a connection opened for each query.
void BM_RegisterHistoryPerQueryConnection(benchmark::State& state) {
    CRegisterOptions options;
    options.localFile = RegisterFile();
    CRegister reg(options);
    std::mt19937 random(2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(reg.History(Pid(static_cast<int>(random() % kRadios))));
    }
}
BENCHMARK(BM_RegisterHistoryPerQueryConnection)->Unit(benchmark::kMillisecond);

void BM_RegisterNotOnProfilePerQueryConnection(benchmark::State& state) {
    CRegisterOptions options;
    options.localFile = RegisterFile();
    CRegister reg(options);
    for (auto _ : state) {
        benchmark::DoNotOptimize(reg.NotOnProfile(kCurrent));
    }
}
BENCHMARK(BM_RegisterNotOnProfilePerQueryConnection)->Unit(benchmark::kMillisecond);

// Handing a record over, as a radio operation does: never waits for the database.
void BM_RegisterRecordHandOver(benchmark::State& state) {
    CRegisterOptions options;
    options.localFile = TempFolder() / "handed-over.sqlite";
    CRegister reg(options);
    for (auto _ : state) {
        reg.Record(CRegisterRecord::ForOperation(RegisterOperation::kStationWrite, "port", 1));
    }
    reg.Flush();  // not timed: the register thread's work
}
BENCHMARK(BM_RegisterRecordHandOver)->Unit(benchmark::kMicrosecond);

void BM_UnitListCheck(benchmark::State& state) {
    const fs::path data = QMVVLT_SOURCE_DATA_DIR;
    static const CUpDownGradeSetting settings(
        LoadSettingDocFile(data / "lib/UpDownGradeSetting.stv"));
    CVirtualCodeplug image = MakeRuleConsistentFullImage();
    std::string text;
    CProfileWriter::VirtualCP2XML(image, text);
    CRadioDataModel job(CModelEnvironment{data, &settings, "LACR"});
    job.LoadProfileContents("bench.lam", text, false);
    CUnitProfile profile(CModelEnvironment{data, &settings, "LACR"}, job.TakeSnapshot());
    std::string csv = "pid,unit,password,ringer_vol_level,contrast\n";
    for (int radio = 0; radio < 200; ++radio) {
        csv += Pid(radio) + ",Unit " + std::to_string(radio) + "," + std::to_string(1000 + radio) +
               "," + std::to_string(radio % 5) + ",3\n";
    }
    for (auto _ : state) {
        const CUnitList list = CUnitList::Read(csv, profile);
        if (!list.Accepted()) {
            state.SkipWithError("the unit list was refused");
        }
    }
}
BENCHMARK(BM_UnitListCheck)->Unit(benchmark::kMillisecond);

}  // namespace
