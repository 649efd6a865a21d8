#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "CPtyCli.h"
#include "CliProfileFiles.h"
#include "MessageId.h"
#include "RadioProtocol.h"
#include "SimFixture.h"
#include "StringTable.h"

namespace {

using namespace std::chrono_literals;
using namespace cli_test;
using testing::HasSubstr;

const std::string& SampleProfile() {
    static const std::string profile = [] {
        const std::string path = Out("station.lam");
        EXPECT_EQ(Cli({"import", kSample, "-o", path}).exitCode, 0);
        return path;
    }();
    return profile;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

}  // namespace

// Two cables until two radios are written: a line per radio, a summary per port and in all.
TEST(CliStation, WritesUntilTheCountWithALinePerRadio) {
    std::vector<std::unique_ptr<CSimSeriesRadio>> cables;
    for (const char* pid : {"10000901", "10000911"}) {
        CSimSeries series;
        series.pids = {std::u16string(pid, pid + 8)};
        cables.push_back(std::make_unique<CSimSeriesRadio>(CVirtualRadio::DefaultImage(), series));
    }
    const CliResult result =
        Cli({"station", SampleProfile(), "--port", cables[0]->Port(), "--port", cables[1]->Port(),
             "--count", "2", "--accept-unsupported", "--verify"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 5u) << result.out;
    std::vector<std::string> radios(lines.begin(), lines.begin() + 2);
    std::sort(radios.begin(), radios.end());
    const std::string success = LoadString(MessageId::kWritingSuccess);
    EXPECT_THAT(radios[0], testing::StartsWith(cables[0]->Port() + "\t10000901\t\t" + success));
    EXPECT_THAT(radios[1], testing::StartsWith(cables[1]->Port() + "\t10000911\t\t" + success));
    EXPECT_THAT(lines[2], testing::StartsWith(cables[0]->Port() + ": 1 written, 0 failed"));
    EXPECT_THAT(lines[4], testing::StartsWith("All ports: 2 written, 0 failed, 0 refused"));
    for (const auto& cable : cables) {
        EXPECT_TRUE(cable->radios.Units()[0].written);
    }
    const CliResult listed = Cli({"register", "list", "--pid", "10000911"});
    EXPECT_THAT(listed.out, HasSubstr("station-write\t10000911"));
}

// A unit list with a refused value: each refusal by line, and nothing goes to the cable.
TEST(CliStation, ARefusedUnitListStartsNothing) {
    CSimRadio sim;
    const std::string units =
        WriteTempFile("units.csv", "pid,unit,language\n10000001,Truck 1,4\n10000002,Truck 2,99\n");
    const CliResult result =
        Cli({"station", SampleProfile(), "--port", sim.Port(), "--units", units, "--listed-only"});
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_THAT(result.err, HasSubstr("Line 3:"));
    EXPECT_THAT(result.err, HasSubstr(LoadString(MessageId::kStationUnitListRefused)));
    EXPECT_THAT(sim.radio.Requests(), testing::IsEmpty());
}

// Ctrl-C in the middle of a write: the port stops between two frames, the radio is reported and
// recorded as partly programmed, and the summary is printed.
TEST(CliStation, CtrlCStopsAtASafePointWithTheSummary) {
    CSimFaults paced;
    paced.pace = true;
    CSimRadio sim(CVirtualRadio::DefaultImage(), paced);
    CPtyCli cli({"--config", ConfigDir(), "station", SampleProfile(), "--port", sim.Port(),
                 "--accept-unsupported"});
    const auto start = std::chrono::steady_clock::now();
    auto received = [&sim](std::uint8_t opcode) {
        const auto requests = sim.radio.Requests();
        return std::find(requests.begin(), requests.end(), opcode) != requests.end();
    };
    while (!received(kOpWriteContact) && std::chrono::steady_clock::now() - start < 20s) {
        std::this_thread::sleep_for(5ms);
    }
    ASSERT_TRUE(received(kOpWriteContact)) << cli.Output();
    cli.Type("\x03");
    EXPECT_EQ(cli.Wait(15s), 112) << cli.Output();
    EXPECT_FALSE(received(kOpFinishWrite));
    EXPECT_THAT(cli.Output(), HasSubstr(LoadString(MessageId::kPartlyProgrammed)));
    EXPECT_THAT(cli.Output(), HasSubstr(": 0 written, 1 failed, 0 refused"));
    const CliResult listed = Cli({"register", "list", "--pid", "10000001"});
    EXPECT_THAT(listed.out, HasSubstr(LoadString(MessageId::kPartlyProgrammed)));
}
