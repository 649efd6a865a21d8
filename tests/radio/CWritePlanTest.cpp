#include "CWritePlan.h"

#include <gtest/gtest.h>

namespace {

CContactRecord Record(std::u16string pid, std::uint8_t type, std::uint8_t channel = 1) {
    CContactRecord r;
    r.name = u"n" + pid;
    r.pid = std::move(pid);
    r.cntct_type = type;
    r.channel = channel;
    return r;
}

CRadioLimits Radio() {
    CRadioLimits l;
    l.pid = u"10000001";
    l.public_grp_info[0] = {u"17179869183", u"Public", 100};
    l.public_grp_info[1] = {u"17179860000", u"B", 0};  // size 0 covers nothing
    l.max_num_of_contacts = 10;
    l.max_num_of_private_grps = 2;
    l.max_num_of_public_grps = 2;
    l.max_num_of_predefined_msgs = 3;
    l.clone_compatibility_version = 10;
    l.max_num_of_channels = 7;
    PutBit(l.capability_flags, 22, true);  // sms_mesgs_tx_en
    return l;
}

TEST(WritePlan, PublicGroupsOutsideEveryRangeAreDropped) {
    CVirtualCodeplug w;
    w.contacts[0] = Record(u"17179869183", kContactPublicGroup);  // top of range 0
    w.contacts[1] = Record(u"17179869084", kContactPublicGroup);  // bottom of range 0
    w.contacts[2] = Record(u"17179869083", kContactPublicGroup);  // just below it
    w.contacts[3] = Record(u"17179860000", kContactPublicGroup);  // start of an empty range
    w.contacts[5] = Record(u"10000001", kContactPrivate);
    w.contacts[7] = Record(u"17179800000", kContactPublicGroup);  // not packed: still checked
    w.Count();
    EXPECT_EQ(CWritePlan::DropForeignPublicGroups(w, Radio()), 3);
    EXPECT_EQ(w.contacts[0].cntct_type, kContactPublicGroup);
    EXPECT_EQ(w.contacts[1].cntct_type, kContactPublicGroup);
    EXPECT_EQ(w.contacts[2].cntct_type, kContactEmpty);
    EXPECT_EQ(w.contacts[3].cntct_type, kContactEmpty);
    EXPECT_EQ(w.contacts[7].cntct_type, kContactEmpty);
    EXPECT_EQ(w.counters.contacts, 3);
    EXPECT_EQ(w.counters.public_groups, 2);
}

struct SupportCase {
    const char* name;
    std::function<void(CVirtualCodeplug&, CRadioLimits&)> change;
    bool warn;
};

class NotSupported : public testing::TestWithParam<SupportCase> {};
// Test names show the case name, not the bytes of the case.
void PrintTo(const SupportCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(NotSupported, RaisedExactlyWhenTheRadioCannotTakeIt) {
    CVirtualCodeplug w;
    w.contacts[0] = Record(u"10001000", kContactPrivateGroup);
    w.contacts[1] = Record(u"17179869183", kContactPublicGroup);
    for (int i = 0; i < 6; ++i) {
        w.contacts[static_cast<std::size_t>(2 + i)] = Record(
            u"1000000" + std::u16string(1, static_cast<char16_t>(u'1' + i)), kContactPrivate);
    }
    w.texts[0] = u"a";
    CRadioLimits radio = Radio();
    GetParam().change(w, radio);
    w.Count();
    EXPECT_EQ(CWritePlan::NotSupported(w, radio, 0), GetParam().warn);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, NotSupported,
    testing::Values(
        SupportCase{"Fits", [](auto&, auto&) {}, false},
        SupportCase{"TooManyPrivateGroups", [](auto&, auto& r) { r.max_num_of_private_grps = 0; },
                    true},
        SupportCase{"TooManyPublicGroups", [](auto&, auto& r) { r.max_num_of_public_grps = 0; },
                    true},
        // 10 - min(2, 1) - min(2, 1) = 8 private contacts fit; 7 do not.
        SupportCase{"ContactsJustFit", [](auto&, auto& r) { r.max_num_of_contacts = 8; }, false},
        SupportCase{"TooManyContacts", [](auto&, auto& r) { r.max_num_of_contacts = 7; }, true},
        SupportCase{"TooManyTexts", [](auto&, auto& r) { r.max_num_of_predefined_msgs = 0; }, true},
        SupportCase{"MissingCapability",
                    [](auto& w, auto&) { PutBit(w.limits.capability_flags, 19, true); }, true},
        SupportCase{"CapabilityPresent",
                    [](auto& w, auto& r) {
                        PutBit(w.limits.capability_flags, 19, true);
                        PutBit(r.capability_flags, 19, true);
                    },
                    false},
        // Texts are only of use to a radio that sends or composes messages.
        SupportCase{"TextsForARadioWithoutMessaging",
                    [](auto&, auto& r) { PutBit(r.capability_flags, 22, false); }, true},
        SupportCase{"TextsForARadioThatComposes",
                    [](auto&, auto& r) {
                        PutBit(r.capability_flags, 22, false);
                        PutBit(r.capability_flags, 9, true);
                    },
                    false},
        SupportCase{"NoTextsForARadioWithoutMessaging",
                    [](auto& w, auto& r) {
                        w.texts[0].clear();
                        PutBit(r.capability_flags, 22, false);
                    },
                    false},
        SupportCase{"UnlistedCapabilityIgnored",
                    [](auto& w, auto&) { PutBit(w.limits.capability_flags, 31, true); }, false},
        SupportCase{"RadioCannotVibrate",
                    [](auto&, auto& r) { PutBit(r.capability_flags, 12, true); }, true}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(WritePlan, DroppedGroupAloneRaisesTheWarning) {
    CVirtualCodeplug w;
    w.Count();
    EXPECT_TRUE(CWritePlan::NotSupported(w, Radio(), 1));
}

TEST(WritePlan, RadioNotInProfileLooksAtPrivateContactsOnly) {
    CVirtualCodeplug w;
    w.contacts[0] = Record(u"10000001", kContactPrivateGroup);
    EXPECT_TRUE(CWritePlan::RadioNotInProfile(w, Radio()));
    w.contacts[1] = Record(u"10000001", kContactPrivate);
    EXPECT_FALSE(CWritePlan::RadioNotInProfile(w, Radio()));
}

TEST(WritePlan, RemapOnlyForAStandardProfileOnAModifiedBandRadioWithHighChannels) {
    CVirtualCodeplug s;
    s.limits.clone_compatibility_version = 10;
    s.contacts[0] = Record(u"10001000", kContactPrivateGroup, 6);
    CRadioLimits radio = Radio();
    radio.clone_compatibility_version = 15;
    radio.max_num_of_channels = 4;
    EXPECT_TRUE(CWritePlan::NeedsChannelRemap(s, radio));
    s.contacts[0].channel = 4;
    EXPECT_FALSE(CWritePlan::NeedsChannelRemap(s, radio));
    s.contacts[0].channel = 6;
    radio.clone_compatibility_version = 10;
    EXPECT_FALSE(CWritePlan::NeedsChannelRemap(s, radio));
}

TEST(WritePlan, RemapMovesFiveSixSevenAndClearsTheScanFlag) {
    CVirtualCodeplug w;
    for (std::uint8_t ch = 1; ch <= 8; ++ch) {
        w.contacts[ch] = Record(u"1000000" + std::u16string(1, static_cast<char16_t>(u'0' + ch)),
                                kContactPublicGroup, ch);
        w.contacts[ch].contact_flags = kFlagInScanList | kFlagInScrollList;
    }
    CWritePlan::RemapChannels(w);
    const std::uint8_t expected[] = {0, 1, 2, 3, 4, 2, 3, 4, 8};
    for (std::uint8_t ch = 1; ch <= 8; ++ch) {
        EXPECT_EQ(w.contacts[ch].channel, expected[ch]);
        const bool moved = ch >= 5 && ch <= 7;
        EXPECT_EQ(w.contacts[ch].contact_flags,
                  moved ? kFlagInScrollList : (kFlagInScanList | kFlagInScrollList));
    }
}

TEST(WritePlan, ContactOrderIsGroupsThenPublicThenPrivateWithinCapacities) {
    CVirtualCodeplug w;
    w.limits = Radio();
    w.contacts[0] = Record(u"17179869183", kContactPublicGroup);
    w.contacts[1] = Record(u"17179869182", kContactPublicGroup);
    w.contacts[2] = Record(u"17179869181", kContactPublicGroup);  // beyond capacity 2
    w.contacts[3] = Record(u"10001000", kContactPrivateGroup);
    w.contacts[4] = Record(u"10000001", kContactPrivate);
    w.contacts[6] = Record(u"10001001", kContactPrivateGroup);
    w.contacts[7] = Record(u"10000002", kContactPrivate);
    w.Count();
    EXPECT_EQ(CWritePlan::ContactOrder(w), (std::vector<int>{3, 6, 0, 1, 4, 7}));
    w.limits.max_num_of_contacts = 3;
    EXPECT_EQ(CWritePlan::ContactOrder(w), (std::vector<int>{3, 6, 0}));
}

TEST(WritePlan, TextOrderSkipsEmptySlotsUpToTheCapacity) {
    CVirtualCodeplug w;
    w.limits = Radio();
    w.texts[0] = u"a";
    w.texts[2] = u"b";
    w.texts[3] = u"c";
    w.texts[4] = u"d";
    EXPECT_EQ(CWritePlan::TextOrder(w), (std::vector<int>{0, 2, 3}));
    w.limits.max_num_of_predefined_msgs = 0;
    EXPECT_TRUE(CWritePlan::TextOrder(w).empty());
}

}  // namespace
