#include <gtest/gtest.h>

#include "CVirtualCodeplug.h"

namespace {

CContactRecord Contact(std::u16string name, std::u16string pid, std::uint8_t type,
                       std::uint8_t privateFlags = 0) {
    CContactRecord rec;
    rec.name = std::move(name);
    rec.pid = std::move(pid);
    rec.cntct_type = type;
    rec.private_flags = privateFlags;
    return rec;
}

}  // namespace

TEST(VirtualCodeplug, FreshImageHoldsTheRadioDefaults) {
    const CVirtualCodeplug image;
    for (const CContactRecord& rec : image.contacts) {
        EXPECT_EQ(rec.cntct_type, 255);
        EXPECT_TRUE(rec.name.empty() && rec.pid.empty() && rec.home_grp.empty());
    }
    for (const std::u16string& text : image.texts) {
        EXPECT_TRUE(text.empty());
    }
    EXPECT_EQ(image.settings.speaker_vol_level, 1);
    EXPECT_EQ(image.settings.alarm_vol_level, 1);
    EXPECT_EQ(image.settings.earpiece_vol_level, 1);
    EXPECT_EQ(image.settings.ringer_vol_level, 0);
    EXPECT_EQ(image.settings.call_forward_id, u"0");
    const CVersionBlock expected{'R', 94, 8, 0, 3, 16, 5};
    EXPECT_EQ(image.version, expected);
    EXPECT_EQ(image.version.codeplug_structure, 3);
    EXPECT_EQ(image.version.codeplug_version, 16);
    EXPECT_EQ(image.limits.valid_PID_start, u"10000001");
    EXPECT_EQ(image.limits.valid_PID_end, u"17179867883");
    EXPECT_EQ(image.limits.public_grp_info[0].start_pid, u"17179869183");
    EXPECT_EQ(image.limits.public_grp_info[0].list_size, 100);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(image.limits.public_grp_info[static_cast<std::size_t>(i)].start_pid, u"0");
        EXPECT_EQ(image.limits.public_grp_info[static_cast<std::size_t>(i)].list_size, 0);
    }
    EXPECT_EQ(image.counters, CContactCounters{});
}

TEST(VirtualCodeplug, FindByPidHonoursTypeFilterAndUse) {
    CVirtualCodeplug image;
    image.contacts[0] = Contact(u"", u"500", kContactPrivateGroup);  // no name: not in use
    image.contacts[1] = Contact(u"Alice", u"500", kContactPrivate);
    image.contacts[2] = Contact(u"Team", u"500", kContactPrivateGroup);
    image.contacts[3] = Contact(u"Bob", u"10000005", kContactPrivate);
    image.limits.pid = u"10000005";

    struct Case {
        std::u16string pid;
        int filter;
        int expected;
    };
    const Case cases[] = {
        {u"500", -1, 1},
        {u"500", kContactPrivateGroup, 2},
        {u"500", kContactPrivate, 1},
        {u"500", kContactPublicGroup, -1},
        {u"50", -1, -1},  // exact match only
        {u"", -1, 3},     // no PID: the radio's own
        {u"", kContactPrivateGroup, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(image.FindContactByPid(c.pid, c.filter), c.expected)
            << std::string(c.pid.begin(), c.pid.end()) << " filter " << c.filter;
    }
}

TEST(VirtualCodeplug, CountSkipsRecordsNotInUse) {
    CVirtualCodeplug image;
    image.contacts[0] = Contact(u"P1", u"1", kContactPublicGroup);
    image.contacts[5] = Contact(u"G1", u"2", kContactPrivateGroup);
    image.contacts[7] = Contact(u"", u"3", kContactPrivateGroup);  // no name
    image.contacts[9] = Contact(u"X", u"", kContactPublicGroup);   // no PID
    image.contacts[149] = Contact(u"A", u"4", kContactPrivate);
    image.texts[3] = u"hello";
    image.texts[24] = u"bye";
    image.Count();
    EXPECT_EQ(image.counters, (CContactCounters{3, 1, 1, 2}));
}

TEST(VirtualCodeplug, OwnRecordFromSettingsFollowsCapabilities) {
    struct Case {
        bool capMngr, capSeeAll, setMngr, setSeeAll;
        std::uint8_t initialFlags, expectedFlags;
    };
    const Case cases[] = {
        {true, true, true, true, 0x00, 0xC0},
        {true, true, false, false, 0xC0, 0x00},  // cleared first
        {false, true, true, true, 0x00, 0x40},   // manager mode not supported
        {true, false, true, true, 0x00, 0x80},
        {true, true, true, false, 0x3F, 0xBF},  // other bits untouched
    };
    for (const Case& c : cases) {
        CVirtualCodeplug image;
        image.limits.pid = u"77";
        image.contacts[4] = Contact(u"Me", u"77", kContactPrivate, c.initialFlags);
        PutBit(image.limits.capability_flags, kCapMngrModeEn, c.capMngr);
        PutBit(image.limits.capability_flags, kCapSeeAllGroupsEn, c.capSeeAll);
        PutBit(image.settings.settings_flags, kSetMngrMode, c.setMngr);
        PutBit(image.settings.settings_flags, kSetSeeAllGrps, c.setSeeAll);
        image.OwnRecordFromSettings();
        EXPECT_EQ(image.contacts[4].private_flags, c.expectedFlags);
    }
}

TEST(VirtualCodeplug, WithoutOwnRecordOnlySettingsAreCleared) {
    CVirtualCodeplug image;
    image.limits.pid = u"77";
    image.contacts[0] = Contact(u"Group", u"77", kContactPrivateGroup, 0xC0);  // not a private
    image.limits.capability_flags = 0xFFFFFFFFu;
    image.settings.settings_flags = 0xFFFFFFFFu;

    CVirtualCodeplug before = image;
    image.OwnRecordFromSettings();
    EXPECT_EQ(image, before);

    image.SettingsFromOwnRecord();
    EXPECT_FALSE(TestBit(image.settings.settings_flags, kSetMngrMode));
    EXPECT_FALSE(TestBit(image.settings.settings_flags, kSetSeeAllGrps));
    EXPECT_EQ(image.settings.settings_flags | (1u << kSetMngrMode) | (1u << kSetSeeAllGrps),
              0xFFFFFFFFu);
}

TEST(VirtualCodeplug, SettingsFromOwnRecordNeedsCapabilityAndBit) {
    struct Case {
        std::uint32_t caps;
        std::uint8_t privateFlags;
        bool mngr, seeAll;
    };
    const Case cases[] = {
        {0xFFFFFFFFu, 0xC0, true, true},
        {0xFFFFFFFFu, 0x40, false, true},
        {1u << kCapMngrModeEn, 0xC0, true, false},
        {0, 0xC0, false, false},
    };
    for (const Case& c : cases) {
        CVirtualCodeplug image;
        image.limits.pid = u"77";
        image.limits.capability_flags = c.caps;
        image.contacts[2] = Contact(u"Me", u"77", kContactPrivate, c.privateFlags);
        image.SettingsFromOwnRecord();
        EXPECT_EQ(TestBit(image.settings.settings_flags, kSetMngrMode), c.mngr);
        EXPECT_EQ(TestBit(image.settings.settings_flags, kSetSeeAllGrps), c.seeAll);
    }
}
