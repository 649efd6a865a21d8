#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CRegisterDatabase.h"
#include "CliProfileFiles.h"
#include "SimFixture.h"
#include "TextCount.h"

namespace fs = std::filesystem;
using namespace cli_test;

namespace {

CRegisterRecord Make(const char* id, const char* time, const char* pid, const char* profile) {
    CRegisterRecord r;
    r.id = id;
    r.time = time;
    r.operation = RegisterOperation::kStationWrite;
    r.pid = pid;
    r.profileFile = profile;
    r.unit = "Truck";
    r.outcome = 1;
    r.outcomeText = "Writing successful.";
    return r;
}

// The register of the test program's configuration folder (the user's data folder there).
void FillRegister() {
    static bool filled = false;
    if (!filled) {
        CRegisterDatabase db(CRegisterLocation::Sqlite(fs::path(ConfigDir()) / "register.sqlite"));
        db.Insert(std::vector<CRegisterRecord>{
            Make("a", "2024-03-01T08:00:00.000Z", "10000042", "fleet.lam"),
            Make("b", "2024-03-02T08:00:00.000Z", "10000043", "fleet.lam"),
            Make("c", "2024-03-03T08:00:00.000Z", "10000042", "spare.lam"),
        });
        filled = true;
    }
}

// The PIDs of a listing, under its header.
std::vector<std::string> ListedPids(const std::string& out) {
    std::vector<std::string> pids;
    std::size_t line = out.find('\n');
    while (line != std::string::npos && line + 1 < out.size()) {
        const std::size_t end = out.find('\n', line + 1);
        std::vector<std::string> cells;
        std::size_t start = line + 1;
        for (std::size_t tab; (tab = out.find('\t', start)) < end; start = tab + 1) {
            cells.push_back(out.substr(start, tab - start));
        }
        pids.push_back(cells.size() > 4 ? cells[4] : "?");
        line = end;
    }
    return pids;
}

}  // namespace

TEST(CliRegister, ListsWhatTheFiltersKeep) {
    FillRegister();
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> pids;
    } cases[] = {
        {{"register", "list"}, {"10000042", "10000043", "10000042"}},
        {{"register", "list", "--pid", "10000042"}, {"10000042", "10000042"}},
        {{"register", "list", "--profile", "/media/usb/fleet.lam"}, {"10000042", "10000043"}},
        {{"register", "list", "--since", "2024-03-02T08:00:00Z"}, {"10000043", "10000042"}},
        {{"register", "list", "--since", "2024-03-04"}, {}},
    };
    for (const auto& c : cases) {
        const CliResult result = Cli(c.args);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(
            result.out.substr(0, result.out.find('\n')),
            "op_time\tstation\tport\toperation\tpid\tunit_label\tprofile_file\tverify_result\t"
            "outcome_text");
        EXPECT_EQ(ListedPids(result.out), c.pids) << result.out;
    }
}

TEST(CliRegister, ExportsCsv) {
    FillRegister();
    const std::string csv = Out("register.csv");
    const CliResult result = Cli({"register", "export", "-o", csv, "--pid", "10000043"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "1 record(s) written to " + csv + ".\n");
    const std::string bytes = ReadBytes(csv);
    EXPECT_EQ(bytes.substr(0, 13), "\xEF\xBB\xBFrecord_id,");
    EXPECT_NE(bytes.find("\r\nb,2024-03-02T08:00:00.000Z,"), std::string::npos) << bytes;
}

TEST(CliRegister, AnotherRegisterByAddress) {
    const std::string other = Out("other.sqlite");
    const std::string url = "sqlite://" + other;
    // Before the command (as for every command) or after it.
    for (const auto& args : {std::vector<std::string>{"--register", url, "register", "list"},
                             std::vector<std::string>{"register", "list", "--register", url}}) {
        std::vector<std::string> full = {"--config", ConfigDir()};
        full.insert(full.end(), args.begin(), args.end());
        const CliResult result = RunCli(full);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(ListedPids(result.out), std::vector<std::string>{});
    }
    EXPECT_TRUE(fs::exists(other));
}

TEST(CliRegister, RefusesWhatItCannotUse) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"register"}, 1, "missing list, export or report"},
        {{"register", "show"}, 1, "unknown register command"},
        {{"register", "export"}, 1, "missing -o FILE.csv"},
        {{"register", "list", "--since", "last week"}, 1, "--since takes a date"},
        {{"register", "list", "--pid", "12ab"}, 1, "--pid takes a PID"},
        {{"register", "list", "--register", "mysql://db/fleet"},
         2,
         "The register address mysql://db/fleet is not valid"},
        {{"register", "list", "--register", "postgresql:///fleet?host=/nonexistent"},
         2,
         "The register postgresql:///fleet?host=/nonexistent cannot be opened"},
    };
    for (const auto& c : cases) {
        const CliResult result = Cli(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.message << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

namespace {

// A report page as text: the file holds FF FE and UTF-16LE; its PIDs and names here are ASCII.
std::string PageText(const std::string& bytes) {
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text += bytes[i + 1] == 0 ? bytes[i] : '?';
    }
    return text;
}

}  // namespace

// The radio commands each leave a record, a register that cannot be reached holds up none of
// them, and the fleet report has one line per radio with its last write.
TEST(CliRegister, RadioCommandsAreRecordedAndTheFleetReportShowsEachRadio) {
    const fs::path config = Out("radio-config");
    fs::create_directories(config);
    const auto cli = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--config", config.string()});
        return RunCli(args);
    };
    const std::string profile = Out("fleet.lam");
    ASSERT_EQ(cli({"import", kSample, "-o", profile}).exitCode, 0);
    CSimRadio sim;
    const CliResult write = cli({"write", profile, "--port", sim.Port(), "--yes"});
    ASSERT_EQ(write.exitCode, 0) << write.err;
    ASSERT_EQ(cli({"reset", "--port", sim.Port(), "--yes"}).exitCode, 0);
    const CliResult unreachable =
        cli({"--register", "postgresql://clerk@/fleet?host=" + (config / "none").string(), "reset",
             "--port", sim.Port(), "--yes"});
    EXPECT_EQ(unreachable.exitCode, 0) << unreachable.err;
    EXPECT_NE(unreachable.err.find("fleet"), std::string::npos) << unreachable.err;

    const CliResult list = cli({"register", "list", "--pid", "10000001"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_EQ(CountOccurrences(list.out, "\twrite\t"), 1u) << list.out;
    EXPECT_EQ(CountOccurrences(list.out, "\treset\t"), 2u) << list.out;
    CRegisterDatabase local(CRegisterLocation::Sqlite(config / "register.sqlite"));
    EXPECT_EQ(local.OutboxCount(), 1);

    const std::string page = Out("fleet.html");
    const CliResult report = cli({"register", "report", "-o", page});
    ASSERT_EQ(report.exitCode, 0) << report.err;
    const std::string text = PageText(ReadBytes(page));
    EXPECT_EQ(CountOccurrences(text, "<td class=\"ItemVal\">10000001</td>"), 1u) << text;
    EXPECT_NE(text.find("fleet.lam"), std::string::npos);
}
