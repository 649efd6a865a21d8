#include <gtest/gtest.h>

#include "FullProfile.h"
#include "RadioResult.h"
#include "TransferFixture.h"

namespace {

CVirtualCodeplug SmallRadio() {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.settings.password = u"4321";
    for (int i = 0; i < 3; ++i) {
        auto& group = image.contacts[static_cast<std::size_t>(i)];
        group.name = u"Group " + std::u16string(1, static_cast<char16_t>(u'A' + i));
        group.pid = u"1000100" + std::u16string(1, static_cast<char16_t>(u'0' + i));
        group.cntct_type = kContactPrivateGroup;
        group.channel = 2;
    }
    auto& own = image.contacts[3];
    own.name = u"Me";
    own.pid = image.limits.pid;
    own.cntct_type = kContactPrivate;
    own.parent_groups = {u"10001000", u"99999999", u"10001002", u"", u""};
    own.home_grp = u"10001001";
    image.texts[0] = u"Hello";
    image.texts[1] = u"World";
    return image;
}

TEST(ReadCodeplug, ReadsEveryBlockAndFixesUpTheGroups) {
    CTransferBench bench(SmallRadio());
    CVirtualCodeplug read;
    ASSERT_EQ(bench.operations.ReadCodeplug(bench.sim.Port(), read), kRadioSuccess);
    EXPECT_EQ(bench.observer.done, 1);
    EXPECT_TRUE(bench.observer.failures.empty());
    EXPECT_EQ(bench.observer.progress, (std::vector<int>{20, 40, 60, 80}));
    const CVirtualCodeplug radio = SmallRadio();
    EXPECT_EQ(read.version, radio.version);
    EXPECT_EQ(read.limits, radio.limits);
    EXPECT_EQ(read.settings, radio.settings);
    EXPECT_EQ(read.texts[0], u"Hello");
    EXPECT_EQ(read.texts[1], u"World");
    const auto& own = read.contacts[3];
    EXPECT_EQ(own.name, u"Me");
    // 99999999 is no private group of the radio: dropped, and the home group takes its entry.
    EXPECT_EQ(own.parent_groups,
              (std::array<std::u16string, 5>{u"10001000", u"10001001", u"10001002", u"", u""}));
    EXPECT_EQ(own.home_grp, u"10001001");
    EXPECT_EQ(read.contacts[4].cntct_type, kContactEmpty);
}

TEST(ReadCodeplug, AsksForEachOfNContactsExactlyOnce) {
    CTransferBench bench(SmallRadio());
    CVirtualCodeplug read;
    ASSERT_EQ(bench.operations.ReadCodeplug(bench.sim.Port(), read), kRadioSuccess);
    const auto opcodes = bench.sim.radio.Requests();
    const auto data = bench.sim.radio.RequestData();
    std::vector<std::vector<std::uint8_t>> contactRequests;
    std::vector<std::vector<std::uint8_t>> textRequests;
    for (std::size_t i = 0; i < opcodes.size(); ++i) {
        if (opcodes[i] == kOpReadContact) {
            contactRequests.push_back(data[i]);
        } else if (opcodes[i] == kOpReadTextMessage) {
            textRequests.push_back(data[i]);
        }
    }
    using V = std::vector<std::vector<std::uint8_t>>;
    EXPECT_EQ(contactRequests, (V{{0, 0}, {2, 4}, {3, 4}, {4, 4}}));
    EXPECT_EQ(textRequests, (V{{0, 0}, {2, 2}}));
    EXPECT_EQ(opcodes.front(), kOpGetVersion);
    EXPECT_EQ(opcodes[1], kOpOpenLink);
}

TEST(ReadCodeplug, EmptyRadioEndsEachLoopAfterOneRequest) {
    CTransferBench bench;
    CVirtualCodeplug read;
    ASSERT_EQ(bench.operations.ReadCodeplug(bench.sim.Port(), read), kRadioSuccess);
    const auto opcodes = bench.sim.radio.Requests();
    EXPECT_EQ(std::count(opcodes.begin(), opcodes.end(), kOpReadContact), 1);
    EXPECT_EQ(std::count(opcodes.begin(), opcodes.end(), kOpReadTextMessage), 1);
}

struct ReadFault {
    const char* name;
    std::vector<std::string> args;
    int expected;
};

class ReadFaults : public testing::TestWithParam<ReadFault> {};
// Test names show the case name, not the bytes of the case.
void PrintTo(const ReadFault& c, std::ostream* os) {
    *os << c.name;
}

// Each fault ends the read with its code, exactly one final notification, and the image untouched.
TEST_P(ReadFaults, EndWithTheirCode) {
    std::string error;
    const auto options = SimOptions::Parse(GetParam().args, error);
    ASSERT_TRUE(options) << error;
    CVirtualCodeplug image = SmallRadio();
    options->Apply(image);
    CTransferBench bench(image, options->faults);
    CVirtualCodeplug read;
    read.texts[7] = u"untouched";
    const CVirtualCodeplug before = read;
    const auto start = std::chrono::steady_clock::now();
    const int code = bench.operations.ReadCodeplug(bench.sim.Port(), read);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(code, GetParam().expected);
    EXPECT_EQ(bench.observer.Finals(), 1);
    if (GetParam().expected == kRadioSuccess) {
        EXPECT_EQ(bench.observer.done, 1);
    } else {
        EXPECT_EQ(bench.observer.failures, std::vector<int>{GetParam().expected});
        EXPECT_EQ(read, before);
    }
    // A missing reply costs at most 3 attempts of 3 tries of 100 ms.
    EXPECT_LT(elapsed, std::chrono::seconds(3));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReadFaults,
    testing::Values(
        ReadFault{"Silent", {"--silence-after", "0"}, kNoConnection},
        ReadFault{"SilentMidContacts", {"--silence-after", "6"}, kNoConnection},
        ReadFault{"WrongLead", {"--wrong-lead", "-1"}, kNoConnection},
        ReadFault{"WrongLeadTwice", {"--wrong-lead", "2"}, kRadioSuccess},
        ReadFault{"BadChecksum", {"--bad-checksum", "-1"}, kPortUnavailable},
        ReadFault{"BadChecksumTwice", {"--bad-checksum", "2"}, kRadioSuccess},
        ReadFault{"Noise", {"--noise", "5"}, kRadioSuccess},
        ReadFault{"ResetRequired", {"--reject-q", "0xFD"}, kResetRequired},
        ReadFault{"Busy", {"--busy"}, kRadioBusy},
        ReadFault{"QOther", {"--reject-q", "1"}, kOperationFailed},
        ReadFault{"SWaiting", {"--reject-s", "1"}, kTimedOut},
        ReadFault{"SUnsupported", {"--reject-s", "4"}, kOperationUnsupported},
        ReadFault{"SOther", {"--reject-s", "3"}, kOperationFailed},
        ReadFault{"OldFirmware", {"--old-firmware"}, kFirmwareTooOld},
        ReadFault{"Type8C", {"--type-8c", "1"}, kInvalidOpcode},
        ReadFault{
            "SettingsRejected", {"--reject-q", "1", "--reject-opcode", "0x28"}, kOperationFailed},
        ReadFault{"UnsupportedFirmware", {"--unsupported-firmware"}, kVersionUnsupported},
        ReadFault{"Incompatible", {"--incompatible"}, kModelUnsupported},
        ReadFault{"ModifiedBand", {"--modified-band"}, kRadioSuccess},
        ReadFault{"HangUp", {"--hangup-after", "5"}, kPortUnavailable}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ReadCodeplug, DevelopmentFirmwareIsAcceptedWhateverItsNumbers) {
    CVirtualCodeplug image = SmallRadio();
    image.version = {'D', 0x10, 20, 1, 3, 16, 5};
    CTransferBench bench(image);
    CVirtualCodeplug read;
    ASSERT_EQ(bench.operations.ReadCodeplug(bench.sim.Port(), read), kRadioSuccess);
    EXPECT_EQ(read.version, image.version);
}

TEST(ReadCodeplug, OtherPhaseLettersBecomeDevelopmentButNeedAnAcceptedRelease) {
    CVirtualCodeplug image = SmallRadio();
    image.version = {'X', 94, 7, 1, 3, 16, 5};
    CTransferBench bench(image);
    CVirtualCodeplug read;
    ASSERT_EQ(bench.operations.ReadCodeplug(bench.sim.Port(), read), kRadioSuccess);
    EXPECT_EQ(read.version.firmware_phase, 'D');
    image.version = {'X', 95, 1, 1, 3, 16, 5};
    CTransferBench refused(image);
    EXPECT_EQ(refused.operations.ReadCodeplug(refused.sim.Port(), read), kVersionUnsupported);
}

TEST(ReadCodeplug, MissingPortIsPortUnavailable) {
    CTransferBench bench;
    CVirtualCodeplug read;
    EXPECT_EQ(bench.operations.ReadCodeplug("/dev/no-such-radio-port", read), kPortUnavailable);
    EXPECT_EQ(bench.observer.failures, std::vector<int>{kPortUnavailable});
}

}  // namespace
