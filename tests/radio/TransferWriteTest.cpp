#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "FullProfile.h"
#include "RadioResult.h"
#include "TransferFixture.h"

namespace {

std::vector<std::u16string> Sorted(const std::array<std::u16string, kMaxParentGroups>& groups) {
    std::vector<std::u16string> v(groups.begin(), groups.end());
    std::sort(v.begin(), v.end());
    return v;
}

int WritesIn(const std::vector<std::uint8_t>& opcodes) {
    return static_cast<int>(std::count_if(opcodes.begin(), opcodes.end(), [](std::uint8_t op) {
        return op == kOpWriteSettings || op == kOpWriteContact || op == kOpWriteTextMessage ||
               op == kOpFinishWrite;
    }));
}

TEST(WriteCodeplug, FullCodeplugRoundTripsEveryField) {
    const CVirtualCodeplug source = MakeFullImage();
    CTransferBench bench(FullRadio());
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    EXPECT_EQ(bench.observer.done, 1);
    EXPECT_TRUE(bench.observer.warnings.empty());
    EXPECT_EQ(bench.observer.progress, (std::vector<int>{20, 40, 60, 80}));

    CVirtualCodeplug read;
    ASSERT_EQ(bench.operations.ReadCodeplug(bench.sim.Port(), read), kRadioSuccess);
    EXPECT_EQ(read.limits, FullRadio().limits);
    EXPECT_EQ(read.version, FullRadio().version);

    CRadioSettings settings = source.settings;
    // Manager mode and see-all-groups travel with the radio's own contact (see-all set, manager
    // not).
    PutBit(settings.settings_flags, kSetMngrMode, false);
    PutBit(settings.settings_flags, kSetSeeAllGrps, true);
    EXPECT_EQ(read.settings, settings);
    EXPECT_EQ(read.texts, source.texts);

    // The radio keeps private groups first, then public groups, then private contacts.
    std::vector<const CContactRecord*> sent;
    for (std::uint8_t type : {kContactPrivateGroup, kContactPublicGroup, kContactPrivate}) {
        for (const auto& record : source.contacts) {
            if (record.InUse() && record.cntct_type == type) {
                sent.push_back(&record);
            }
        }
    }
    ASSERT_EQ(sent.size(), 150u);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const CContactRecord& want = *sent[i];
        const CContactRecord& got = read.contacts[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(got.name, want.name);
        EXPECT_EQ(got.pid, want.pid);
        EXPECT_EQ(got.alert_tone, want.alert_tone);
        EXPECT_EQ(got.contact_flags, want.contact_flags);
        EXPECT_EQ(got.channel, want.channel);
        EXPECT_EQ(got.cntct_type, want.cntct_type);
        EXPECT_EQ(got.home_grp, want.home_grp);
        // The home group comes back among the parents, possibly in another entry.
        EXPECT_EQ(Sorted(got.parent_groups), Sorted(want.parent_groups));
        if (want.cntct_type == kContactPrivate) {
            EXPECT_EQ(got.private_flags, kPrivateSeeAllGroups);
            const auto groups = std::count_if(want.parent_groups.begin(), want.parent_groups.end(),
                                              [](const auto& g) { return !g.empty(); });
            EXPECT_EQ(got.group_count, groups);
            EXPECT_EQ(got.home_group_position, groups ? 1 : 0);
        } else {
            EXPECT_EQ(got.private_flags, 0);
        }
    }
}

TEST(WriteCodeplug, ModifiedBandProfileOntoStandardRadioFailsBeforeAnyWrite) {
    CVirtualCodeplug source = MakeFullImage();
    source.limits.clone_compatibility_version = 15;
    CTransferBench bench(FullRadio());
    EXPECT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kModifiedBandProfile);
    EXPECT_EQ(bench.observer.failures, std::vector<int>{kModifiedBandProfile});
    EXPECT_TRUE(bench.observer.warnings.empty());
    EXPECT_EQ(WritesIn(bench.Requests()), 0);
}

// The last text, the last contact or the settings: a character the radio lacks anywhere stops
// the write before the settings are sent, so the radio keeps its old codeplug whole.
TEST(WriteCodeplug, TextTheRadioCannotHoldFailsWithMinus15BeforeAnyWrite) {
    const std::function<void(CVirtualCodeplug&)> changes[] = {
        [](CVirtualCodeplug& s) { s.texts[kMaxTexts - 1] = u"\u2615 break"; },
        [](CVirtualCodeplug& s) { s.contacts[kMaxContacts - 1].name = u"\u0141ukasz"; },
        [](CVirtualCodeplug& s) { s.settings.password = u"\u20ac"; },
    };
    for (const auto& change : changes) {
        CVirtualCodeplug source = MakeFullImage();
        change(source);
        CTransferBench bench(FullRadio());
        EXPECT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kTextToRadio);
        EXPECT_EQ(bench.observer.failures, std::vector<int>{kTextToRadio});
        EXPECT_EQ(WritesIn(bench.Requests()), 0);
    }
}

TEST(WriteCodeplug, ChannelRemapAfterYesMovesChannelsAndLeavesTheScanList) {
    CVirtualCodeplug radio = FullRadio();
    radio.limits.clone_compatibility_version = 15;
    radio.limits.max_num_of_channels = 4;
    CTransferBench bench(radio);
    const CVirtualCodeplug source = MakeFullImage();
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    EXPECT_EQ(bench.observer.warnings,
              std::vector<TransferWarning>{TransferWarning::kChannelRemap});
    const CVirtualCodeplug stored = bench.sim.radio.Image();
    int moved = 0;
    for (const auto& record : stored.contacts) {
        if (!record.InUse()) {
            continue;
        }
        const int index = source.FindContactByPid(record.pid, record.cntct_type);
        ASSERT_GE(index, 0);
        const auto& original = source.contacts[static_cast<std::size_t>(index)];
        if (original.channel >= 5) {
            ++moved;
            EXPECT_EQ(record.channel, original.channel - 3);
            EXPECT_EQ(record.contact_flags & kFlagInScanList, 0);
        } else {
            EXPECT_EQ(record.channel, original.channel);
            EXPECT_EQ(record.contact_flags, original.contact_flags);
        }
    }
    EXPECT_GT(moved, 0);
}

TEST(WriteCodeplug, RemapDeclinedWritesNothing) {
    CVirtualCodeplug radio = FullRadio();
    radio.limits.clone_compatibility_version = 15;
    radio.limits.max_num_of_channels = 4;
    CTransferBench bench(radio);
    bench.observer.answers[TransferWarning::kChannelRemap] = false;
    EXPECT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), MakeFullImage()), kUserCancelled);
    EXPECT_EQ(WritesIn(bench.Requests()), 0);
}

TEST(WriteCodeplug, RadioNotInProfileAnsweredNoIsUserCanceledAndWritesNothing) {
    CVirtualCodeplug radio = FullRadio();
    radio.limits.pid = u"10009999";
    CTransferBench bench(radio);
    bench.observer.answers[TransferWarning::kRadioNotInProfile] = false;
    EXPECT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), MakeFullImage()), kUserCancelled);
    EXPECT_EQ(bench.observer.warnings,
              std::vector<TransferWarning>{TransferWarning::kRadioNotInProfile});
    EXPECT_EQ(bench.observer.failures, std::vector<int>{kUserCancelled});
    EXPECT_EQ(bench.observer.done, 0);
    EXPECT_EQ(WritesIn(bench.Requests()), 0);
    EXPECT_EQ(bench.sim.radio.Image(), radio);
}

TEST(WriteCodeplug, ForeignPublicGroupIsAskedAboutAndNotWritten) {
    CVirtualCodeplug source = MakeFullImage();
    source.contacts[0].pid = u"17179800000";  // in none of the radio's ranges
    CTransferBench bench(FullRadio());
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    EXPECT_EQ(bench.observer.warnings,
              std::vector<TransferWarning>{TransferWarning::kNotSupported});
    const CVirtualCodeplug stored = bench.sim.radio.Image();
    EXPECT_LT(stored.FindContactByPid(u"17179800000"), 0);
    EXPECT_GE(stored.FindContactByPid(source.contacts[1].pid, kContactPublicGroup), 0);
}

TEST(WriteCodeplug, NotSupportedAcceptedBeforehandIsNotAsked) {
    CVirtualCodeplug source = MakeFullImage();
    source.contacts[0].pid = u"17179800000";
    CTransferBench bench(FullRadio());
    bench.context.SetNotSupportedAccepted(true);
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    EXPECT_TRUE(bench.observer.warnings.empty());
    EXPECT_LT(bench.sim.radio.Image().FindContactByPid(u"17179800000"), 0);
}

TEST(WriteCodeplug, OnlyAsManyPrivateGroupsAsTheRadioTakesAreSent) {
    CVirtualCodeplug radio = FullRadio();
    radio.limits.max_num_of_private_grps = 10;
    CTransferBench bench(radio);
    const CVirtualCodeplug source = MakeFullImage();
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    EXPECT_EQ(bench.observer.warnings,
              std::vector<TransferWarning>{TransferWarning::kNotSupported});
    CVirtualCodeplug stored = bench.sim.radio.Image();
    stored.Count();
    EXPECT_EQ(stored.counters.private_groups, 10);
    // The first ten of the profile, in order.
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(stored.contacts[static_cast<std::size_t>(i)].pid,
                  source.contacts[static_cast<std::size_t>(20 + i)].pid);
    }
    EXPECT_EQ(stored.counters.contacts, 130);
}

TEST(WriteCodeplug, EmptyListsAreWrittenAsZeroZero) {
    CVirtualCodeplug source = MakeFullImage();
    source.contacts = CVirtualCodeplug{}.contacts;
    source.texts = CVirtualCodeplug{}.texts;
    CTransferBench bench(FullRadio());
    bench.observer.answers[TransferWarning::kRadioNotInProfile] = true;
    ASSERT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), kRadioSuccess);
    const auto opcodes = bench.Requests();
    const auto data = bench.sim.radio.RequestData();
    std::vector<std::vector<std::uint8_t>> writes;
    for (std::size_t i = 0; i < opcodes.size(); ++i) {
        if (opcodes[i] == kOpWriteContact || opcodes[i] == kOpWriteTextMessage) {
            writes.push_back(data[i]);
        }
    }
    EXPECT_EQ(writes, (std::vector<std::vector<std::uint8_t>>{{0, 0}, {0, 0}}));
    EXPECT_EQ(opcodes.back(), kOpFinishWrite);
    const CVirtualCodeplug stored = bench.sim.radio.Image();
    EXPECT_FALSE(stored.contacts[0].InUse());
    EXPECT_TRUE(stored.texts[0].empty());
}

struct WriteFault {
    const char* name;
    std::vector<std::string> args;
    int expected;
};

class WriteFaults : public testing::TestWithParam<WriteFault> {};
// Test names show the case name, not the bytes of the case.
void PrintTo(const WriteFault& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(WriteFaults, EndWithTheirCodeAndOneNotification) {
    std::string error;
    const auto options = SimOptions::Parse(GetParam().args, error);
    ASSERT_TRUE(options) << error;
    CVirtualCodeplug radio = FullRadio();
    options->Apply(radio);
    CTransferBench bench(radio, options->faults);
    const CVirtualCodeplug source = MakeFullImage();
    EXPECT_EQ(bench.operations.WriteCodeplug(bench.sim.Port(), source), GetParam().expected);
    EXPECT_EQ(bench.observer.Finals(), 1);
    EXPECT_EQ(bench.observer.failures, std::vector<int>{GetParam().expected});
    // Nothing is committed by a write that did not finish.
    EXPECT_EQ(bench.sim.radio.Image(), radio);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WriteFaults,
    testing::Values(WriteFault{"Incompatible", {"--incompatible"}, kModelUnsupported},
                    WriteFault{"SilentMidContacts", {"--silence-after", "20"}, kNoConnection},
                    WriteFault{"HangUpMidContacts", {"--hangup-after", "30"}, kPortUnavailable},
                    WriteFault{"ContactRejected",
                               {"--reject-q", "1", "--reject-opcode", "0x31"},
                               kOperationFailed},
                    WriteFault{"FinishRejected",
                               {"--reject-q", "0xFD", "--reject-opcode", "0x36"},
                               kResetRequired}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
