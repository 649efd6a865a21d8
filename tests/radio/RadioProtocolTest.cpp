#include "RadioProtocol.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "RadioFrame.h"
#include "RadioResult.h"
#include "ScriptedStream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
const Bytes kAck = {0x50, 0xF2, 0x41, 0x50, 0x7C};

struct RequestCase {
    const char* name;
    std::function<int(RadioProtocol&)> send;
    Bytes frame;
};

class RequestFrames : public testing::TestWithParam<RequestCase> {};
// Test names show the case name, not the bytes of the case.
void PrintTo(const RequestCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(RequestFrames, AreByteExact) {
    CScriptedStream stream;
    RadioProtocol protocol(&stream);
    protocol.SetFinishPause(std::chrono::milliseconds(0));
    GetParam().send(protocol);
    ASSERT_FALSE(stream.written.empty());
    EXPECT_EQ(stream.written.front(), GetParam().frame);
}

INSTANTIATE_TEST_SUITE_P(
    AllCommands, RequestFrames,
    testing::Values(RequestCase{"GetVersion",
                                [](RadioProtocol& p) { return p.GetVersion(); },
                                {0xF2, 0x9B, 0x25, 0x4D}},
                    RequestCase{"OpenLink",
                                [](RadioProtocol& p) { return p.OpenLink(); },
                                {0xF2, 0x9B, 0x26, 0x4C}},
                    RequestCase{"ReadLimits",
                                [](RadioProtocol& p) { return p.ReadLimits(); },
                                {0xF2, 0x9B, 0x27, 0x4B}},
                    RequestCase{"ReadSettings",
                                [](RadioProtocol& p) { return p.ReadSettings(); },
                                {0xF2, 0x9B, 0x28, 0x4A}},
                    RequestCase{"FinishWrite",
                                [](RadioProtocol& p) { return p.FinishWrite(); },
                                {0xF2, 0x9B, 0x36, 0x3C}},
                    RequestCase{"ResetRadio",
                                [](RadioProtocol& p) { return p.ResetRadio(); },
                                {0xF2, 0x9B, 0x37, 0x3B}},
                    RequestCase{"StartIdCapture",
                                [](RadioProtocol& p) { return p.StartIdCapture(); },
                                {0xF2, 0x9B, 0x38, 0x3A}},
                    RequestCase{"PollIdCapture",
                                [](RadioProtocol& p) { return p.PollIdCapture(); },
                                {0xF2, 0x9B, 0x39, 0x39}},
                    RequestCase{"FirstReadContact",
                                [](RadioProtocol& p) { return p.ReadContact(0, 0); },
                                {0xF4, 0x9B, 0x30, 0x00, 0x00, 0x40}},
                    RequestCase{"FirstReadText",
                                [](RadioProtocol& p) { return p.ReadTextMessage(0, 0); },
                                {0xF4, 0x9B, 0x32, 0x00, 0x00, 0x3E}},
                    RequestCase{"EmptyContactList",
                                [](RadioProtocol& p) { return p.WriteContact(0, 0, {}); },
                                {0xF4, 0x9B, 0x31, 0x00, 0x00, 0x3F}},
                    RequestCase{"EmptyTextList",
                                [](RadioProtocol& p) { return p.WriteTextMessage(0, 0, {}); },
                                {0xF4, 0x9B, 0x33, 0x00, 0x00, 0x3D}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(RequestFrame, ThirteenDataBytesUseTheLongForm) {
    Bytes data(13);
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<std::uint8_t>(i + 1);
    }
    std::array<std::uint8_t, kMaxRequestFrame> frame{};
    const std::size_t length = ComposeRequest(0x29, data, frame);
    ASSERT_EQ(length, 13u + 6u);
    Bytes expected = {0xFF, 0x9B, 0x00, 0x0F, 0x29};
    expected.insert(expected.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (auto b : expected) {
        sum += b;
    }
    expected.push_back(static_cast<std::uint8_t>(0xFF - (sum & 0xFF)));
    EXPECT_EQ(Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length)), expected);
}

TEST(RequestFrame, TwelveDataBytesStayShort) {
    std::array<std::uint8_t, kMaxRequestFrame> frame{};
    EXPECT_EQ(ComposeRequest(0x29, Bytes(12, 1), frame), 16u);
    EXPECT_EQ(frame[0], 0xFE);
}

TEST(RequestFrame, TooLongDataIsRefusedWithoutTouchingTheLine) {
    CScriptedStream stream;
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.WriteSettings(Bytes(122, 0x11)), kMessageCompose);
    EXPECT_TRUE(stream.written.empty());
    EXPECT_EQ(stream.purges, 0);
    // 121 bytes is the most a request carries.
    stream.AddReply(kAck);
    EXPECT_EQ(protocol.WriteSettings(Bytes(121, 0x11)), kRadioSuccess);
    ASSERT_EQ(stream.written.size(), 1u);
    EXPECT_EQ(stream.written[0].size(), 127u);
}

TEST(Acknowledge, SatisfiesEveryCommandThatExpectsP) {
    const std::vector<std::function<int(RadioProtocol&)>> commands = {
        [](RadioProtocol& p) { return p.OpenLink(); },
        [](RadioProtocol& p) { return p.WriteSettings(Bytes(33, 0)); },
        [](RadioProtocol& p) { return p.WriteContact(1, 1, Bytes(20, 0x41)); },
        [](RadioProtocol& p) {
            return p.WriteTextMessage(1, 1, Bytes{0x41, 0});
        },
        [](RadioProtocol& p) { return p.FinishWrite(); },
        [](RadioProtocol& p) { return p.ResetRadio(); },
    };
    for (std::size_t i = 0; i < commands.size(); ++i) {
        CScriptedStream stream;
        stream.AddReply(kAck);
        RadioProtocol protocol(&stream);
        protocol.SetFinishPause(std::chrono::milliseconds(0));
        EXPECT_EQ(commands[i](protocol), kRadioSuccess) << "command " << i;
        EXPECT_EQ(stream.written.size(), 1u);
        EXPECT_EQ(protocol.Reply().Data().size(), 1u);
    }
}

TEST(Acknowledge, DoesNotSatisfyACommandExpectingAnotherLetter) {
    CScriptedStream stream;
    stream.AddReply(kAck);
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.GetVersion(), kUnsupportedCommand);
}

TEST(Receive, SkipsNoiseBetweenLeadAndLengthByte) {
    CScriptedStream stream;
    stream.AddReply({0x50, 0x00, 0x13, 0xEF, 0x7F, 0xF2, 0x41, 0x50, 0x7C});
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.OpenLink(), kRadioSuccess);
    EXPECT_EQ(stream.written.size(), 1u);
}

TEST(Receive, WrongLeadByteThreeTimesIsNoConnection) {
    CScriptedStream stream;
    stream.AddReplies({0x51, 0xF2, 0x41, 0x50, 0x7C}, 3);
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.OpenLink(), kNoConnection);
    EXPECT_EQ(stream.written.size(), 3u);
    EXPECT_EQ(protocol.Detail(), -10);
}

TEST(Receive, WrongLeadOnceThenGoodReplySucceeds) {
    CScriptedStream stream;
    stream.AddReply({0x51, 0xF2, 0x41, 0x50, 0x7C});
    stream.AddReply(kAck);
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.OpenLink(), kRadioSuccess);
    EXPECT_EQ(stream.written.size(), 2u);
}

TEST(Receive, BadChecksumThreeTimesIsPortUnavailable) {
    CScriptedStream stream;
    stream.AddReplies({0x50, 0xF2, 0x41, 0x50, 0x7D}, 3);
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.OpenLink(), kPortUnavailable);
    EXPECT_EQ(stream.written.size(), 3u);
    EXPECT_EQ(protocol.Detail(), -11);
}

TEST(Receive, SilenceTriesEachByteThreeTimesPerAttempt) {
    CScriptedStream stream;
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.GetVersion(), kNoConnection);
    EXPECT_EQ(stream.written.size(), 3u);
    EXPECT_EQ(stream.reads, 9);
}

TEST(Receive, ClosedOrFailedPortIsPortUnavailable) {
    CScriptedStream closed;
    closed.SetOpen(false);
    EXPECT_EQ(RadioProtocol(&closed).GetVersion(), kPortUnavailable);
    EXPECT_TRUE(closed.written.empty());
    CScriptedStream failed;
    failed.SetError(2);
    EXPECT_EQ(RadioProtocol(&failed).GetVersion(), kPortUnavailable);
    EXPECT_EQ(RadioProtocol(nullptr).GetVersion(), kPortUnavailable);
}

TEST(Receive, LongFormReplyWithValueAndData) {
    CScriptedStream stream;
    // Type 0x80 carries a 24-bit value before the data.
    stream.AddReply(MakeReply(0x80, {0x01, 0x02, 0x03, 'E', 9}, true));
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.Exchange(kOpGetVersion, {}, false), 2);
    EXPECT_EQ(protocol.Reply().type, 0x80);
    EXPECT_EQ(protocol.Reply().value, 0x010203u);
    EXPECT_EQ(protocol.Reply().Data()[0], 'E');
}

TEST(Receive, ReplyLargerThanTheBufferIsNoReply) {
    CScriptedStream stream;
    Bytes data(200, 'H');
    stream.AddReplies(MakeReply('A', data, true), 3);
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.ReadContact(0, 0), kNoConnection);
    EXPECT_EQ(protocol.Reply().length, 0u);
}

TEST(Receive, LongestAcceptedReplyFillsTheBuffer) {
    CScriptedStream stream;
    Bytes data(121, 0x20);
    data[0] = 'H';
    stream.AddReply(MakeReply('A', data, true));
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.ReadContact(0, 0), kRadioSuccess);
    EXPECT_EQ(protocol.Reply().length, 121u);
}

struct ClassifyCase {
    const char* name;
    int r;
    std::uint8_t type;
    Bytes data;
    int expected;
};

class Classification : public testing::TestWithParam<ClassifyCase> {};
// Test names show the case name, not the bytes of the case.
void PrintTo(const ClassifyCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(Classification, MapsEveryRow) {
    const auto& c = GetParam();
    EXPECT_EQ(ClassifyReply(c.r, c.type, c.data), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Classification,
    testing::Values(ClassifyCase{"PortError", -1, 'A', {'P'}, kPortUnavailable},
                    ClassifyCase{"Compose", -2, 'A', {'P'}, kMessageCompose},
                    ClassifyCase{"NoReply", 0, 0, {}, kNoConnection},
                    ClassifyCase{"OldFirmware", 1, 0x8C, {0}, kFirmwareTooOld},
                    ClassifyCase{"Type8CNonZero", 1, 0x8C, {1}, kInvalidOpcode},
                    ClassifyCase{"OtherType", 1, 0x42, {'P'}, kInvalidOpcode},
                    ClassifyCase{"QResetRequired", 3, 'A', {'Q', 0x30, 0xFD}, kResetRequired},
                    ClassifyCase{"QBusy", 3, 'A', {'Q', 0x30, 0xFE}, kRadioBusy},
                    ClassifyCase{"QOther", 3, 'A', {'Q', 0x30, 0x01}, kOperationFailed},
                    ClassifyCase{"SWaiting", 2, 'A', {'S', 1}, kTimedOut},
                    ClassifyCase{"SUnsupported", 2, 'A', {'S', 4}, kOperationUnsupported},
                    ClassifyCase{"SCaptured", 5, 'A', {'S', 2, '1', '2', 0}, 5},
                    ClassifyCase{"SOther", 2, 'A', {'S', 3}, kOperationFailed},
                    ClassifyCase{"OtherLetter", 1, 'A', {'Z'}, kUnsupportedCommand}),
    [](const auto& p) { return std::string(p.param.name); });

struct RejectionCase {
    const char* name;
    Bytes reply;
    int expected;
};

class Rejections : public testing::TestWithParam<RejectionCase> {};
// Test names show the case name, not the bytes of the case.
void PrintTo(const RejectionCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(Rejections, EndTheCommandWithTheirCode) {
    CScriptedStream stream;
    stream.AddReply(GetParam().reply);
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.ReadLimits(), GetParam().expected);
    // A reply that came is not retried.
    EXPECT_EQ(stream.written.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, Rejections,
    testing::Values(RejectionCase{"Type8CZero", MakeReply(0x8C, {0}), kFirmwareTooOld},
                    RejectionCase{"Type8COne", MakeReply(0x8C, {1}), kInvalidOpcode},
                    RejectionCase{"Busy", MakeReply('A', {'Q', 0x27, 0xFE}), kRadioBusy},
                    RejectionCase{"Reset", MakeReply('A', {'Q', 0x27, 0xFD}), kResetRequired},
                    RejectionCase{"QOther", MakeReply('A', {'Q', 0x27, 0x10}), kOperationFailed},
                    // A captured PID is not what a limits request asked for.
                    RejectionCase{"SCaptured", MakeReply('A', {'S', 2, '7', 0}),
                                  kUnsupportedCommand}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(IdCapture, PollSucceedsOnlyWithStatusTwo) {
    CScriptedStream stream;
    stream.AddReply(MakeReply('A', {'S', 1}));
    stream.AddReply(MakeReply('A', {'S', 2, '1', '2', '3', 0}));
    RadioProtocol protocol(&stream);
    EXPECT_EQ(protocol.PollIdCapture(), kTimedOut);
    EXPECT_EQ(protocol.PollIdCapture(), kRadioSuccess);
    EXPECT_EQ(protocol.Reply().length, 6u);
}

}  // namespace
