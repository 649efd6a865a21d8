#include "CBlockCodec.h"

#include <gtest/gtest.h>

#include <string>

#include "RadioResult.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::u16string Utf16(const char* text) {
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

void Append(Bytes& out, std::string_view text, bool nul = true) {
    out.insert(out.end(), text.begin(), text.end());
    if (nul) {
        out.push_back(0);
    }
}

// The encoders, for blocks whose texts the radio can hold.
Bytes EncodeContact(CContactRecord& r) {
    Bytes out;
    EXPECT_EQ(CBlockCodec::EncodeContact(r, out), kRadioSuccess);
    return out;
}
Bytes EncodeText(std::u16string_view text) {
    Bytes out;
    EXPECT_EQ(CBlockCodec::EncodeText(text, out), kRadioSuccess);
    return out;
}
Bytes EncodeSettings(const CRadioSettings& settings) {
    Bytes out;
    EXPECT_EQ(CBlockCodec::EncodeSettings(settings, out), kRadioSuccess);
    return out;
}
Bytes EncodeLimits(const CRadioLimits& limits) {
    Bytes out;
    EXPECT_EQ(CBlockCodec::EncodeLimits(limits, out), kRadioSuccess);
    return out;
}

CContactRecord PrivateContact() {
    CContactRecord r;
    r.name = u"Zo\u00EB";
    r.pid = u"10000050";
    r.alert_tone = 3;
    r.contact_flags = kFlagIdInUse | kFlagInScrollList;
    r.channel = 2;
    r.cntct_type = kContactPrivate;
    return r;
}

TEST(ContactEncoding, GroupTypesEndAfterTheType) {
    for (std::uint8_t type : {std::uint8_t{1}, std::uint8_t{2}}) {
        CContactRecord r = PrivateContact();
        r.cntct_type = type;
        r.parent_groups[0] = u"10000001";
        Bytes expected = {'Z', 'o', 0xEB, 0, 3};
        Append(expected, "10000050");
        expected.insert(expected.end(), {kFlagIdInUse | kFlagInScrollList, 2, type});
        EXPECT_EQ(EncodeContact(r), expected);
    }
}

TEST(ContactEncoding, PrivateWithoutGroupsSendsCountZero) {
    CContactRecord r = PrivateContact();
    const Bytes encoded = EncodeContact(r);
    ASSERT_GE(encoded.size(), 2u);
    EXPECT_EQ(Bytes(encoded.end() - 3, encoded.end()), (Bytes{kContactPrivate, 0, 0}));
}

TEST(ContactEncoding, HomeGroupThatIsTheSecondParentIsSentOnceAtPositionTwo) {
    CContactRecord r = PrivateContact();
    r.parent_groups[0] = u"10000001";
    r.parent_groups[2] = u"10000002";
    r.home_grp = u"10000002";
    const Bytes encoded = EncodeContact(r);
    Bytes tail = {kContactPrivate, 2, 2};
    Append(tail, "10000001");
    Append(tail, "10000002");
    ASSERT_GE(encoded.size(), tail.size());
    EXPECT_EQ(Bytes(encoded.end() - static_cast<std::ptrdiff_t>(tail.size()), encoded.end()), tail);
    EXPECT_EQ(r.home_group_position, 2);
}

TEST(ContactEncoding, HomeGroupOutsideTheParentsIsAppended) {
    CContactRecord r = PrivateContact();
    r.parent_groups[1] = u"10000001";
    r.home_grp = u"17179869100";
    const Bytes encoded = EncodeContact(r);
    Bytes tail = {kContactPrivate, 2, 2};
    Append(tail, "10000001");
    Append(tail, "17179869100");
    EXPECT_EQ(Bytes(encoded.end() - static_cast<std::ptrdiff_t>(tail.size()), encoded.end()), tail);
}

TEST(ContactEncoding, WithoutHomeGroupTheStoredPositionIsSent) {
    CContactRecord r = PrivateContact();
    r.parent_groups[0] = u"10000001";
    r.home_group_position = 7;
    const Bytes encoded = EncodeContact(r);
    Bytes tail = {kContactPrivate, 1, 7};
    Append(tail, "10000001");
    EXPECT_EQ(Bytes(encoded.end() - static_cast<std::ptrdiff_t>(tail.size()), encoded.end()), tail);
}

TEST(ContactDecoding, HomeGroupPositionGoesToHomeAndTheRestToParents) {
    Bytes block;
    Append(block, "Anna");
    block.push_back(1);
    Append(block, "10000099");
    block.insert(block.end(), {0x09, 3, kContactPrivate, 3, 2});
    Append(block, "10000001");
    Append(block, "10000002");
    Append(block, "10000003");
    CContactRecord r;
    ASSERT_EQ(CBlockCodec::DecodeContact(block, r), kRadioSuccess);
    EXPECT_EQ(r.name, u"Anna");
    EXPECT_EQ(r.pid, u"10000099");
    EXPECT_EQ(r.contact_flags, 0x09);
    EXPECT_EQ(r.channel, 3);
    EXPECT_EQ(r.private_flags, kPrivateSeeAllGroups);
    EXPECT_EQ(r.home_grp, u"10000002");
    EXPECT_EQ(r.parent_groups[0], u"10000001");
    EXPECT_EQ(r.parent_groups[1], u"10000003");
    EXPECT_EQ(r.parent_groups[2], u"");
    EXPECT_EQ(r.group_count, 3);
    EXPECT_EQ(r.home_group_position, 2);
}

TEST(ContactDecoding, MoreGroupsThanEntriesAreNotStoredPastTheTable) {
    Bytes block;
    Append(block, "Bo");
    block.push_back(0);
    Append(block, "10000099");
    block.insert(block.end(), {1, 1, kContactPrivate, 9, 0});
    for (int i = 0; i < 9; ++i) {
        Append(block, "1000000" + std::to_string(i));
    }
    CContactRecord r;
    ASSERT_EQ(CBlockCodec::DecodeContact(block, r), kRadioSuccess);
    EXPECT_EQ(r.parent_groups[4], u"10000004");
    EXPECT_TRUE(r.home_grp.empty());
}

TEST(ContactDecoding, RoundTripsAFullRecord) {
    CContactRecord r = PrivateContact();
    r.name = u"ABCDEFGHIJKLMNOPQRSTUVWXY";  // the full 25 characters
    r.pid = u"17179867883";
    for (int i = 0; i < kMaxParentGroups; ++i) {
        r.parent_groups[static_cast<std::size_t>(i)] =
            u"1000000" + std::u16string(1, static_cast<char16_t>(u'1' + i));
    }
    r.home_grp = u"10000009";
    Bytes encoded = EncodeContact(r);
    EXPECT_LE(encoded.size() + 2, 121u);
    CContactRecord back;
    ASSERT_EQ(CBlockCodec::DecodeContact(encoded, back), kRadioSuccess);
    EXPECT_EQ(back.name, r.name);
    EXPECT_EQ(back.pid, r.pid);
    EXPECT_EQ(back.parent_groups, r.parent_groups);
    EXPECT_EQ(back.home_grp, r.home_grp);
    EXPECT_EQ(back.group_count, 6);
    EXPECT_EQ(back.home_group_position, 6);
}

TEST(ContactDecoding, TruncatedRecordsFailAndLeaveTheRecord) {
    CContactRecord r = PrivateContact();
    r.parent_groups[0] = u"10000001";
    const Bytes encoded = EncodeContact(r);
    for (std::size_t cut = 0; cut < encoded.size(); ++cut) {
        CContactRecord target;
        target.name = u"keep";
        EXPECT_EQ(CBlockCodec::DecodeContact(std::span(encoded).first(cut), target),
                  kOperationFailed)
            << "cut at " << cut;
        EXPECT_EQ(target.name, u"keep");
    }
}

TEST(TextCoding, LongTextsAreCutAtEightyCharacters) {
    Bytes block;
    Append(block, std::string(100, 'x'));
    std::u16string text;
    ASSERT_EQ(CBlockCodec::DecodeText(block, text), kRadioSuccess);
    EXPECT_EQ(text, std::u16string(80, u'x'));
    EXPECT_EQ(EncodeText(std::u16string(90, u'y')).size(), 81u);
}

// A character above U+00FF in any text of a block makes the block unsendable.
TEST(BlockEncoding, TextsTheRadioCannotHoldFailWithMinus15) {
    Bytes out;
    EXPECT_EQ(CBlockCodec::EncodeText(u"Caf\u00e9 \u2615", out), kTextToRadio);
    CContactRecord named = PrivateContact();
    named.name = u"\u0141ukasz";
    EXPECT_EQ(CBlockCodec::EncodeContact(named, out), kTextToRadio);
    CContactRecord grouped = PrivateContact();
    grouped.home_grp = u"1000\u0660";
    EXPECT_EQ(CBlockCodec::EncodeContact(grouped, out), kTextToRadio);
    CRadioSettings settings;
    settings.password = u"12\u00b34";
    EXPECT_EQ(CBlockCodec::EncodeSettings(settings, out), kRadioSuccess);
    settings.password = u"12\u20ac4";
    EXPECT_EQ(CBlockCodec::EncodeSettings(settings, out), kTextToRadio);
}

TEST(TextCoding, TextWithoutTerminatorFails) {
    std::u16string text = u"old";
    EXPECT_EQ(CBlockCodec::DecodeText(Bytes{'a', 'b'}, text), kOperationFailed);
    EXPECT_EQ(text, u"old");
}

CRadioSettings SampleSettings() {
    CRadioSettings s;
    s.contrast = 7;
    s.backlight = 0x01020304;
    s.vibracall = 2;
    s.current_time = 0xA1B2C3D4;
    s.alarm_time = 0x00112233;
    s.ringer_vol_level = 3;
    s.speaker_vol_level = 4;
    s.keypad_vol_level = 5;
    s.alarm_vol_level = 6;
    s.earpiece_vol_level = 7;
    s.language = 2;
    s.settings_flags = 0x84000001;
    s.call_forward_id = u"10000077";
    s.password = u"1234";
    s.tot_timer = 9;
    s.tpt_offset = 10;
    s.noise_levels = 0x5A;
    return s;
}

TEST(SettingsCoding, EncodedLayoutAndLength) {
    const Bytes encoded = EncodeSettings(SampleSettings());
    ASSERT_EQ(encoded.size(), 33u + 8u);
    EXPECT_EQ(Bytes(encoded.begin(), encoded.begin() + 14),
              (Bytes{7, 1, 2, 3, 4, 2, 0xA1, 0xB2, 0xC3, 0xD4, 0x00, 0x11, 0x22, 0x33}));
    EXPECT_EQ(Bytes(encoded.begin() + 20, encoded.begin() + 24), (Bytes{0x01, 0, 0, 0x84}));
    EXPECT_EQ(Bytes(encoded.end() - 8, encoded.end()), (Bytes{'1', '2', '3', '4', 0, 9, 10, 0x5A}));
}

TEST(SettingsCoding, RoundTrip) {
    CRadioSettings back;
    ASSERT_EQ(CBlockCodec::DecodeSettings(EncodeSettings(SampleSettings()), back), kRadioSuccess);
    EXPECT_EQ(back, SampleSettings());
}

TEST(SettingsCoding, BlockEndingAfterTheCallForwardTextKeepsTheDefaults) {
    Bytes encoded = EncodeSettings(SampleSettings());
    encoded.resize(encoded.size() - 8);
    CRadioSettings back;
    ASSERT_EQ(CBlockCodec::DecodeSettings(encoded, back), kRadioSuccess);
    EXPECT_EQ(back.call_forward_id, u"10000077");
    EXPECT_EQ(back.password, u"");
    EXPECT_EQ(back.tot_timer, 0);
    // Cut inside the fixed part: no block at all.
    EXPECT_EQ(CBlockCodec::DecodeSettings(std::span(encoded).first(20), back), kOperationFailed);
}

CRadioLimits SampleLimits() {
    CRadioLimits l;
    l.pid = u"10000042";
    l.valid_PID_start = u"10000100";
    l.valid_PID_end = u"17000000000";
    l.public_grp_info[0].start_pid = u"17179869000";
    l.public_grp_info[0].list_size = 50;
    l.public_grp_info[0].name = u"Public";
    l.model = u"Q410";
    l.clone_compatibility_version = 10;
    l.max_num_of_contacts = 150;
    l.max_num_of_private_grps = 30;
    l.max_num_of_public_grps = 20;
    l.max_num_of_predefined_msgs = 25;
    l.capability_flags = 0xFFFF7F00;
    l.extra_capability = 0x12345678;
    l.num_of_languages = 3;
    l.languages = {1, 2, 5, 0, 0, 0};
    l.max_num_of_channels = 7;
    l.max_vol_level = 8;
    return l;
}

TEST(LimitsCoding, RoundTrip) {
    CRadioLimits back;
    ASSERT_EQ(CBlockCodec::DecodeLimits(EncodeLimits(SampleLimits()), back), kRadioSuccess);
    EXPECT_EQ(back, SampleLimits());
}

TEST(LimitsCoding, ShortModelIsNulPaddedAndFlagsAreLittleEndian) {
    CRadioLimits l = SampleLimits();
    l.model = u"Q4";
    const Bytes encoded = EncodeLimits(l);
    CRadioLimits back;
    ASSERT_EQ(CBlockCodec::DecodeLimits(encoded, back), kRadioSuccess);
    EXPECT_EQ(back.model, u"Q4");
    // After the four texts and the range size: model (4), five capacity bytes, then the flags.
    const std::size_t flags = 9 + 9 + 12 + 12 + 1 + 4 + 5;
    EXPECT_EQ(Bytes(encoded.begin() + flags, encoded.begin() + flags + 4),
              (Bytes{0x00, 0x7F, 0xFF, 0xFF}));
}

struct RangeCase {
    const char* name;
    const char* start;
    const char* end;
    bool taken;
};

class ValidPidRange : public testing::TestWithParam<RangeCase> {};
// Test names show the case name, not the bytes of the case.
void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(ValidPidRange, AcceptanceRules) {
    CRadioLimits l = SampleLimits();
    l.valid_PID_start = Utf16(GetParam().start);
    l.valid_PID_end = Utf16(GetParam().end);
    CRadioLimits back;
    ASSERT_EQ(CBlockCodec::DecodeLimits(EncodeLimits(l), back), kRadioSuccess);
    const CRadioLimits defaults;
    EXPECT_EQ(back.valid_PID_start,
              GetParam().taken ? l.valid_PID_start : defaults.valid_PID_start);
    EXPECT_EQ(back.valid_PID_end, GetParam().taken ? l.valid_PID_end : defaults.valid_PID_end);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ValidPidRange,
    testing::Values(RangeCase{"Normal", "10000001", "17179867883", true},
                    RangeCase{"StartAtFloor", "10000000", "17179867883", false},
                    RangeCase{"EndAboveCeiling", "10000001", "17179867884", false},
                    RangeCase{"StartNotBelowEnd", "20000000", "20000000", false},
                    RangeCase{"NotDecimal", "1000x001", "20000000", false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(LimitsCoding, PublicRangeRules) {
    struct Case {
        const char16_t* start;
        std::uint8_t size;
        bool taken;
    };
    for (const Case& c : {Case{u"17179869183", 100, true}, Case{u"17179869184", 100, false},
                          Case{u"99", 100, false}, Case{u"4294967296", 10, true}}) {
        CRadioLimits l = SampleLimits();
        l.public_grp_info[0].start_pid = c.start;
        l.public_grp_info[0].list_size = c.size;
        CRadioLimits back;
        ASSERT_EQ(CBlockCodec::DecodeLimits(EncodeLimits(l), back), kRadioSuccess);
        if (c.taken) {
            EXPECT_EQ(back.public_grp_info[0], l.public_grp_info[0]);
        } else {
            EXPECT_EQ(back.public_grp_info[0], CRadioLimits{}.public_grp_info[0]);
        }
    }
}

TEST(LimitsCoding, MoreThanSixLanguagesAreCountedButNotStored) {
    Bytes encoded = EncodeLimits(SampleLimits());
    // Replace the language count and list (3 entries) by 8 entries.
    const std::size_t count = encoded.size() - 2 - 3 - 1;
    encoded.erase(encoded.begin() + static_cast<std::ptrdiff_t>(count), encoded.end() - 2);
    const Bytes languages = {8, 1, 2, 3, 4, 5, 6, 7, 8};
    encoded.insert(encoded.begin() + static_cast<std::ptrdiff_t>(count), languages.begin(),
                   languages.end());
    CRadioLimits back;
    ASSERT_EQ(CBlockCodec::DecodeLimits(encoded, back), kRadioSuccess);
    EXPECT_EQ(back.num_of_languages, 6);
    EXPECT_EQ(back.languages, (std::array<std::uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(back.max_num_of_channels, 7);
    EXPECT_EQ(back.max_vol_level, 8);
}

TEST(LimitsCoding, TruncatedBlockFailsAndLeavesTheLimits) {
    const Bytes encoded = EncodeLimits(SampleLimits());
    for (std::size_t cut = 0; cut < encoded.size(); ++cut) {
        CRadioLimits target;
        EXPECT_EQ(CBlockCodec::DecodeLimits(std::span(encoded).first(cut), target),
                  kOperationFailed);
        EXPECT_EQ(target, CRadioLimits{});
    }
}

TEST(VersionCoding, MapsTheSevenBytes) {
    CVersionBlock v;
    ASSERT_EQ(CBlockCodec::DecodeVersion(Bytes{0x5E, 9, 1, 3, 17, 6, 'D'}, v), kRadioSuccess);
    EXPECT_EQ(v, (CVersionBlock{'D', 94, 9, 1, 3, 17, 6}));
    EXPECT_EQ(CBlockCodec::DecodeVersion(Bytes{0x5E, 9, 1}, v), kOperationFailed);
}

TEST(CapturedPid, TextIsCutToSixtyThreeCharacters) {
    Bytes block;
    Append(block, "12345678901");
    EXPECT_EQ(CBlockCodec::DecodeCapturedPid(block), u"12345678901");
    EXPECT_EQ(CBlockCodec::DecodeCapturedPid(Bytes(100, '7')), std::u16string(63, u'7'));
}

}  // namespace
