#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "CAppSettings.h"
#include "CBlockCodec.h"
#include "CRequestParser.h"
#include "CVirtualCodeplugJson.h"
#include "FullProfile.h"
#include "RadioProtocol.h"
#include "RadioResult.h"
#include "SerialPort.h"
#include "SimFixture.h"
#include "SimOptions.h"
#include "Utility.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

TEST(RequestParser, TakesShortAndLongFramesAndSkipsNoise) {
    CRequestParser parser;
    const Bytes line = {0x00, 0x13, 0xF2, 0x9B, 0x25, 0x4D, 0xF4, 0x9B, 0x30, 0x00, 0x00, 0x40};
    std::vector<Bytes> data;
    std::vector<std::uint8_t> opcodes;
    for (auto b : line) {
        if (parser.Feed(b)) {
            opcodes.push_back(parser.Last().opcode);
            data.push_back(parser.Last().data);
        }
    }
    EXPECT_EQ(opcodes, (std::vector<std::uint8_t>{0x25, 0x30}));
    EXPECT_EQ(data[1], (Bytes{0, 0}));
}

TEST(RequestParser, DropsAFrameWithABadChecksum) {
    CRequestParser parser;
    bool any = false;
    for (auto b : Bytes{0xF2, 0x9B, 0x25, 0x4E}) {
        any = any || parser.Feed(b);
    }
    EXPECT_FALSE(any);
    EXPECT_EQ(parser.Dropped(), 1);
}

TEST(VirtualRadio, AnswersVersionAndAcknowledgesByteExact) {
    CVirtualRadio radio;
    EXPECT_EQ(radio.Handle(kOpGetVersion, {}),
              (Bytes{0x50, 0xF9, 0x41, 'E', 94, 8, 0, 3, 16, 5, 'R', 0xB0}));
    EXPECT_EQ(radio.Handle(kOpOpenLink, {}), (Bytes{0x50, 0xF2, 0x41, 0x50, 0x7C}));
}

TEST(VirtualRadio, KeepsWhatAWriteSentOnlyAfterFinishWrite) {
    CVirtualRadio radio;
    CContactRecord group;
    group.name = u"Crew";
    group.pid = u"10000100";
    group.cntct_type = kContactPrivateGroup;
    Bytes request = {1, 1};
    Bytes record;
    ASSERT_EQ(CBlockCodec::EncodeContact(group, record), kRadioSuccess);
    request.insert(request.end(), record.begin(), record.end());
    radio.Handle(kOpOpenLink, {});
    radio.Handle(kOpWriteContact, request);
    EXPECT_FALSE(radio.Image().contacts[0].InUse());
    radio.Handle(kOpFinishWrite, {});
    EXPECT_EQ(radio.Image().contacts[0].name, u"Crew");
    // A later read returns it: [0, 0] carries record 1 of 1.
    const Bytes reply = radio.Handle(kOpReadContact, {0, 0});
    ASSERT_GT(reply.size(), 6u);
    EXPECT_EQ(Bytes(reply.begin() + 5, reply.begin() + 8), (Bytes{'H', 1, 1}));
}

struct FaultCase {
    const char* name;
    std::vector<std::string> args;
    Bytes reply;  // the reply to GetVersion
};

class FaultOptions : public testing::TestWithParam<FaultCase> {};
// Test names show the case name, not the bytes of the case.
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(FaultOptions, ShapeTheReply) {
    std::string error;
    const auto options = SimOptions::Parse(GetParam().args, error);
    ASSERT_TRUE(options) << error;
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    options->Apply(image);
    CVirtualRadio radio(image, options->faults);
    EXPECT_EQ(radio.Handle(kOpGetVersion, {}), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultOptions,
    testing::Values(FaultCase{"None", {}, {0x50, 0xF9, 0x41, 'E', 94, 8, 0, 3, 16, 5, 'R', 0xB0}},
                    FaultCase{"WrongLead",
                              {"--wrong-lead", "1"},
                              {0x51, 0xF9, 0x41, 'E', 94, 8, 0, 3, 16, 5, 'R', 0xB0}},
                    FaultCase{"BadChecksum",
                              {"--bad-checksum", "-1"},
                              {0x50, 0xF9, 0x41, 'E', 94, 8, 0, 3, 16, 5, 'R', 0xB0 ^ 0x5A}},
                    FaultCase{"Noise",
                              {"--noise", "2"},
                              {0x50, 0x13, 0x48, 0xF9, 0x41, 'E', 94, 8, 0, 3, 16, 5, 'R', 0xB0}},
                    FaultCase{"Busy", {"--busy"}, {0x50, 0xF4, 0x41, 'Q', 0x25, 0xFE, 0x56}},
                    FaultCase{"RejectS", {"--reject-s", "4"}, {0x50, 0xF3, 0x41, 'S', 4, 0x74}},
                    FaultCase{"OldFirmware", {"--old-firmware"}, {0x50, 0xF2, 0x8C, 0, 0x81}},
                    FaultCase{"Unsupported",
                              {"--unsupported-firmware"},
                              {0x50, 0xF9, 0x41, 'E', 94, 9, 0, 3, 16, 5, 'R', 0xAF}},
                    FaultCase{"Silent", {"--silence-after", "0"}, {}}),
    [](const auto& p) { return std::string(p.param.name); });

// The real serial port class against the virtual radio over a pseudo-terminal.
TEST(SerialLine, CommandsTravelOverAPseudoTerminal) {
    OnQThread([&] {
        CSimRadio sim;
        SerialPort port(sim.Port());
        ASSERT_TRUE(port.IsOpen());
        RadioProtocol protocol(&port);
        ASSERT_EQ(protocol.GetVersion(), kRadioSuccess);
        EXPECT_EQ(protocol.Reply().Data()[7], 'R');
        ASSERT_EQ(protocol.OpenLink(), kRadioSuccess);
        ASSERT_EQ(protocol.ReadLimits(), kRadioSuccess);
        CRadioLimits limits;
        ASSERT_EQ(CBlockCodec::DecodeLimits(protocol.Reply().Data().subspan(1), limits),
                  kRadioSuccess);
        EXPECT_EQ(limits, CVirtualRadio::DefaultImage().limits);
        const auto log = sim.Log();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[0], "PC> F2 9B 25 4D");
    });
}

TEST(SerialLine, ReadOfOneByteTimesOutAfterAboutATenthOfASecond) {
    OnQThread([&] {
        CSimRadio sim;
        SerialPort port(sim.Port());
        ASSERT_TRUE(port.IsOpen());
        std::uint8_t b = 0;
        const auto start = Clock::now();
        EXPECT_EQ(port.Read(&b, 1, true), 0);
        const auto elapsed = Clock::now() - start;
        EXPECT_GE(elapsed, std::chrono::milliseconds(90));
        EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
        // Without waiting, an empty queue gives nothing at once.
        EXPECT_EQ(port.Read(&b, 1, false), 0);
    });
}

TEST(SerialLine, MissingPortFailsToOpen) {
    OnQThread([&] {
        SerialPort port("/dev/does-not-exist-qmv");
        EXPECT_FALSE(port.IsOpen());
        EXPECT_NE(port.LastError(), 0u);
        RadioProtocol protocol(&port);
        EXPECT_EQ(protocol.GetVersion(), kPortUnavailable);
        EXPECT_TRUE(port.Close());
    });
}

TEST(SerialLine, PortIsOpenedExclusively) {
    OnQThread([&] {
        CSimRadio sim;
        SerialPort first(sim.Port());
        ASSERT_TRUE(first.IsOpen());
        SerialPort second(sim.Port());
        EXPECT_FALSE(second.IsOpen());
        EXPECT_NE(second.OpenProblem().find("is busy"), std::string::npos) << second.OpenProblem();
        EXPECT_EQ(RadioProtocol(&second).GetVersion(), kPortUnavailable);
    });
}

TEST(SerialLine, LinkReplacesOnlyAnOldLinkOfItsOwn) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("qmv-link-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "notes.txt";
    std::ofstream(file) << "keep me";
    {
        const CPseudoTerminal line(file);
        EXPECT_FALSE(line.IsOpen());
        EXPECT_EQ(std::filesystem::file_size(file), 7u) << "the file is left alone";
    }
    const auto link = dir / "radio";
    {
        const CPseudoTerminal first(link);
        ASSERT_TRUE(first.IsOpen()) << first.Error();
        // A second one takes over the first's link, as after a crash.
        const CPseudoTerminal second(link);
        EXPECT_TRUE(second.IsOpen()) << second.Error();
    }
    std::filesystem::remove_all(dir);
}

TEST(SerialLine, HangUpMidTransferEndsWithAFailure) {
    OnQThread([&] {
        CSimFaults faults;
        faults.hangupAfterFrames = 2;
        CSimRadio sim(CVirtualRadio::DefaultImage(), faults);
        SerialPort port(sim.Port());
        RadioProtocol protocol(&port);
        ASSERT_EQ(protocol.GetVersion(), kRadioSuccess);
        ASSERT_EQ(protocol.OpenLink(), kRadioSuccess);
        const int code = protocol.ReadLimits();
        EXPECT_TRUE(code == kPortUnavailable || code == kNoConnection) << code;
    });
}

}  // namespace

namespace {

TEST(SimOptionsImage, LoadsAJsonImageAndAppliesThePassword) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.texts[3] = u"from json";
    image.limits.pid = u"10000222";
    const auto path = std::filesystem::temp_directory_path() /
                      ("radiosim-image-" + std::to_string(::getpid()) + ".json");
    { std::ofstream(path) << CVirtualCodeplugJson::ToJson(image); }
    std::string error;
    const auto options = SimOptions::Parse({"--image", path.string(), "--password", "5555"}, error);
    ASSERT_TRUE(options) << error;
    const auto start = options->StartImage(error);
    std::filesystem::remove(path);
    ASSERT_TRUE(start) << error;
    image.settings.password = u"5555";
    // Every block but the counters, which the radio never uses.
    EXPECT_EQ(start->version, image.version);
    EXPECT_EQ(start->limits, image.limits);
    EXPECT_EQ(start->settings, image.settings);
    EXPECT_EQ(start->contacts, image.contacts);
    EXPECT_EQ(start->texts, image.texts);
}

TEST(SimOptionsImage, RefusesWhatItCannotUse) {
    std::string error;
    auto options = SimOptions::Parse({"--image", "/nonexistent/radio.json"}, error);
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->StartImage(error));
    EXPECT_NE(error.find("/nonexistent/radio.json"), std::string::npos);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--password", "12345"},
                                                {"--noise"},
                                                {"--noise", "x"},
                                                {"--reject-q", "300"},
                                                {"--bogus"}}) {
        error.clear();
        EXPECT_FALSE(SimOptions::Parse(bad, error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace

namespace {

TEST(SimOptionsImage, LoadsAPlainProfile) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("radiosim-profile-" + std::to_string(::getpid()) + ".xml");
    ProfilePieces pieces;
    pieces.privateGroups = PrivateGroupXml("Crew", "10001000", 3);
    pieces.privates = PrivateXml("Me", "10000001", "", R"( mngr_mode="1" see_all_groups="1")");
    std::string text = MakeProfile(pieces);
    for (const std::string flag : {"mngr_mode_en", "see_all_groups_en"}) {
        text.replace(text.find(flag + "=\"0\""), flag.size() + 4, flag + "=\"1\"");
    }
    { std::ofstream(path) << text; }
    std::string error;
    const auto options = SimOptions::Parse({"--profile", path.string()}, error);
    ASSERT_TRUE(options) << error;
    const auto image = options->StartImage(error);
    std::filesystem::remove(path);
    ASSERT_TRUE(image) << error;
    EXPECT_GE(image->FindContactByPid(u"10001000", kContactPrivateGroup), 0);
    EXPECT_GE(image->FindContactByPid(u"10000001", kContactPrivate), 0);
    EXPECT_EQ(image->limits.pid, u"10000001");
    // As a written radio keeps them: a read-back gives the own contact its modes again.
    EXPECT_TRUE(TestBit(image->settings.settings_flags, kSetMngrMode));
    EXPECT_TRUE(TestBit(image->settings.settings_flags, kSetSeeAllGrps));
}

TEST(SimOptionsImage, LoadsAProfileInAnOlderGroupsForm) {
    // A group-1 profile as the program saves it: without the fields later groups added.
    const CAppSettings settings = CAppSettings::Load();
    CRadioDataModel model(settings.ModelEnvironment(Utility::GetInstallPath()));
    ProfilePieces pieces;
    pieces.privates = PrivateXml("Me", "10000001");
    std::string text = MakeProfile(pieces);
    text.replace(text.find("firmware_version=\"8\""), 20, "firmware_version=\"1\"");
    ASSERT_TRUE(model.LoadProfile(text, false));
    ASSERT_EQ(model.GetModelGroup(), 1);
    ASSERT_EQ(model.TakeOffDoc(false), 1);
    ASSERT_EQ(model.RawProfileText().find("password="), std::string::npos);
    const auto path = std::filesystem::temp_directory_path() /
                      ("radiosim-group1-" + std::to_string(::getpid()) + ".xml");
    { std::ofstream(path) << model.RawProfileText(); }
    std::string error;
    const auto options = SimOptions::Parse({"--profile", path.string()}, error);
    ASSERT_TRUE(options) << error;
    const auto image = options->StartImage(error);
    std::filesystem::remove(path);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->limits.pid, u"10000001");
}

}  // namespace
