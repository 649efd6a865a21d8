#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "CBlockCodec.h"
#include "CReplyReceiver.h"
#include "CTransferContext.h"
#include "CTransferOperations.h"
#include "CVirtualCodeplugJson.h"
#include "CWriteVerify.h"
#include "FullProfile.h"
#include "RadioProtocol.h"
#include "RadioResult.h"
#include "SimFixture.h"
#include "SimOptions.h"
#include "TextCodec.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

// The series driven frame by frame on a clock the test moves.
class SeriesOnAClock {
  public:
    explicit SeriesOnAClock(CSimSeries series)
        : radios(CVirtualRadio::DefaultImage(), {}, std::move(series)) {
        radios.SetClock([this] { return now; });
    }
    // The PID of the radio answering ReadLimits, "" when nothing answers.
    std::u16string Pid() {
        CReplyReceiver receiver;
        auto status = CReplyReceiver::Status::kNoReply;
        for (std::uint8_t b : radios.Handle(kOpReadLimits, {})) {
            status = receiver.Feed(b);
        }
        CRadioLimits limits;
        const auto data = std::span(receiver.Data()).first(receiver.DataLength());
        if (status != CReplyReceiver::Status::kComplete ||
            CBlockCodec::DecodeLimits(data.subspan(1), limits) != kRadioSuccess) {
            return u"";
        }
        return limits.pid;
    }
    bool Answers(std::uint8_t opcode, const Bytes& data = {}) {
        return !radios.Handle(opcode, data).empty();
    }
    Bytes Settings(const std::u16string& password) {
        CRadioSettings settings;
        settings.password = password;
        Bytes block;
        CBlockCodec::EncodeSettings(settings, block);
        return block;
    }

    CRadioSeries::Clock::time_point now{};
    CRadioSeries radios;
};

}  // namespace

// A written radio answers its verify read and leaves at the next version request; one pulled out
// mid-write keeps what it had; one never written leaves after the dwell time; the cable is empty
// for the swap time between radios and for good after the last. Each radio's image is saved.
TEST(RadioSeries, RadiosComeAndGoByTheRules) {
    const fs::path folder = fs::temp_directory_path() / ("qmv-series-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    CSimSeries series;
    series.pids = {u"10000101", u"10000555", u"10000101"};  // the first PID twice
    series.swap = 5s;
    series.dwell = 30s;
    series.pullOuts = {{2, 3}};
    series.folder = folder;
    SeriesOnAClock cable(series);

    EXPECT_EQ(cable.Pid(), u"10000101");
    EXPECT_TRUE(cable.Answers(kOpWriteSettings, cable.Settings(u"1234")));
    EXPECT_TRUE(cable.Answers(kOpFinishWrite));
    cable.now += 60s;                           // a written radio does not leave by the dwell time
    EXPECT_TRUE(cable.Answers(kOpGetVersion));  // the verify read
    EXPECT_EQ(cable.Pid(), u"10000101");
    EXPECT_FALSE(cable.Answers(kOpGetVersion));  // taken off
    EXPECT_EQ(cable.radios.Current(), 0);
    cable.now += 4900ms;
    EXPECT_EQ(cable.Pid(), u"");
    cable.now += 100ms;
    EXPECT_EQ(cable.Pid(), u"10000555");

    EXPECT_TRUE(cable.Answers(kOpWriteSettings, cable.Settings(u"9999")));
    EXPECT_TRUE(cable.Answers(kOpWriteContact, {1, 2, 0}));
    EXPECT_FALSE(cable.Answers(kOpWriteContact, {2, 2, 0}));  // pulled out at write frame 3
    EXPECT_FALSE(cable.Answers(kOpFinishWrite));
    cable.now += 5s;
    EXPECT_EQ(cable.Pid(), u"10000101");
    cable.now += 29s;
    EXPECT_TRUE(cable.Answers(kOpGetVersion));
    cable.now += 1s;  // 30 s on the cable without a write: gone, and the series is over
    EXPECT_FALSE(cable.Answers(kOpGetVersion));
    cable.now += 1h;
    EXPECT_EQ(cable.Pid(), u"");

    const auto units = cable.radios.Units();
    ASSERT_EQ(units.size(), 3u);
    const std::vector<bool> written = {units[0].written, units[1].written, units[2].written};
    EXPECT_EQ(written, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(units[0].image.settings.password, u"1234");
    EXPECT_EQ(units[1].image.settings, CVirtualRadio::DefaultImage().settings);
    for (const auto& unit : units) {
        EXPECT_EQ(unit.image.limits.pid, unit.pid);
        std::ifstream in(folder /
                         (std::to_string(unit.place) + "-" + Utf16ToUtf8(unit.pid) + ".json"));
        const std::string json((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        std::string error;
        const auto saved = CVirtualCodeplugJson::FromJson(json, &error);
        ASSERT_TRUE(saved) << unit.place << ": " << error;
        EXPECT_EQ(saved->settings, unit.image.settings);
        EXPECT_EQ(saved->limits, unit.image.limits);
    }
    fs::remove_all(folder);
}

// Over the line with the real operations: the written radio holds exactly what was sent and
// answers the verify read; then it is gone, and the next radio comes with the next PID.
TEST(RadioSeries, TheNextRadioFollowsAWriteAndItsVerifyOnTheLine) {
    CSimSeries series;
    series.count = 2;
    series.swap = 50ms;
    const CVirtualCodeplug start = FullRadio();
    CSimSeriesRadio cable(start, series);
    CTransferContext context;
    context.finishPause = 0ms;
    CTransferOperations operations(context);
    const CVirtualCodeplug source = MakeFullImage();
    std::u16string next;
    OnQThread([&] {
        CRadioBlocks sent;
        CRadioBlocks back;
        ASSERT_EQ(operations.WriteCodeplug(cable.Port(), source, &sent), kRadioSuccess);
        ASSERT_EQ(operations.ReadBack(cable.Port(), back), kRadioSuccess);
        EXPECT_EQ(CWriteVerify::Differences(sent, back), std::vector<std::string>{});
        // The first poll after the verify finds the cable empty; a retry may meet the next radio.
        for (int poll = 0; poll < 100 && next.empty(); ++poll) {
            operations.ReadOwnPid(cable.Port(), next);
        }
    });
    EXPECT_EQ(next, u"10000005");
    const auto units = cable.radios.Units();
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].image.texts, source.texts);
    EXPECT_EQ(units[1].image.texts, start.texts);
}

TEST(RadioSeries, OptionsAreCheckedAndMeantForASeries) {
    std::string error;
    const auto options = SimOptions::Parse(
        {"--series-pids", "10000101,10000102", "--swap", "0.25", "--pull-out", "2:7"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->series.count, 2);
    EXPECT_EQ(options->series.swap, 250ms);
    ASSERT_EQ(options->series.pullOuts.size(), 1u);
    EXPECT_EQ(options->series.pullOuts[0].frame, 7);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--swap", "2"},
                                                {"--series", "0"},
                                                {"--series", "3", "--series-pids", "1,2"},
                                                {"--series-pids", "1,,2"},
                                                {"--series", "2", "--pull-out", "2"},
                                                {"--series", "2", "--swap", "-1"}}) {
        error.clear();
        EXPECT_FALSE(SimOptions::Parse(bad, error)) << bad[0] << " " << bad[1];
        EXPECT_FALSE(error.empty());
    }
}
