#include <gtest/gtest.h>

#include "FleetReport.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "StringTable.h"
#include "TestInstall.h"
#include "TextCount.h"

namespace {

CRegisterRecord Write(const char* time, const char* operation, const char* pid, const char* hash,
                      int outcome = kRadioSuccess) {
    CRegisterRecord r;
    r.time = time;
    r.operation = operation;
    r.pid = pid;
    r.profileHash = hash;
    r.profileFile = std::string(hash) + ".lam";
    r.outcome = outcome;
    r.unit = "Truck <7>";
    return r;
}

}  // namespace

// One line per radio with its last write, whatever came after it or how it ended; the radios
// whose last write was of another profile are marked.
TEST(FleetReport, OneLinePerRadioWithItsLastWrite) {
    using namespace RegisterOperation;
    const std::vector<CRegisterRecord> records = {
        Write("2024-03-01T08:00:00.000Z", kWrite, "10000042", "aaaa"),
        Write("2024-03-01T09:00:00.000Z", kStationWrite, "10000043", "aaaa"),
        Write("2024-03-02T08:00:00.000Z", kWrite, "10000042", "bbbb", kOperationFailed),
        Write("2024-03-03T08:00:00.000Z", kRead, "10000042", ""),
        Write("2024-03-03T09:00:00.000Z", kRestore, "10000044", "aaaa"),
        Write("2024-03-04T08:00:00.000Z", kReset, "10000045", ""),
        Write("2024-03-04T09:00:00.000Z", kWrite, "", "aaaa"),
    };
    const auto last = LastWrites(records);
    ASSERT_EQ(last.size(), 3u);
    EXPECT_EQ(last[0].pid, "10000042");
    EXPECT_EQ(last[0].profileHash, "bbbb");
    EXPECT_EQ(last[1].pid, "10000043");
    EXPECT_EQ(last[2].operation, kRestore);

    const std::string page = FleetReportPage(records, TestInstallFolder() / "Report", "aaaa");
    EXPECT_EQ(CountOccurrences(page, "<td class=\"ItemVal\">10000042</td>"), 1u);
    EXPECT_EQ(CountOccurrences(page, "<td class=\"ItemVal\">10000045</td>"), 0u);
    EXPECT_EQ(CountOccurrences(
                  page, "<td class=\"ItemVal\">" + LoadString(MessageId::kRegisterOtherProfile)),
              1u);
    EXPECT_EQ(CountOccurrences(
                  page, "<td class=\"ItemVal\">" + LoadString(MessageId::kRegisterSameProfile)),
              2u);
    EXPECT_NE(page.find(CStringTable::Instance().Format(MessageId::kFleetSummary, {"3", "1"})),
              std::string::npos);
    EXPECT_NE(page.find("Truck &lt;7&gt;"), std::string::npos);
    EXPECT_EQ(page.find("Truck <7>"), std::string::npos);
    EXPECT_NE(page.find("<title>" + LoadString(MessageId::kFleetReportTitle)), std::string::npos);
}
