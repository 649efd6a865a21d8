#include <gtest/gtest.h>

#include "CDataAdaptor.h"
#include "CQMVVLTException.h"
#include "FullProfile.h"

namespace {

CVirtualCodeplug Convert(const std::string& xml, std::u16string_view radioPid = u"") {
    CVirtualCodeplug image;
    EXPECT_EQ(CDataAdaptor::XML2VirtualCP(xml, image, radioPid), 1);
    return image;
}

std::string Repeat(int n, auto make) {
    std::string out;
    for (int i = 0; i < n; ++i) {
        out += make(i);
    }
    return out;
}

bool InScroll(const CContactRecord& rec) {
    return rec.contact_flags & kFlagInScrollList;
}

}  // namespace

TEST(DataAdaptor, ContactsArePackedByKindInDocumentOrder) {
    ProfilePieces p;
    // Private groups listed first in the file still come after the public groups.
    p.privateGroups = PrivateGroupXml("G1", "10001000") + PrivateGroupXml("G2", "10001001");
    p.publicGroups = Repeat(3, [](int i) {
        return PublicGroupXml("Pub" + std::to_string(i), std::to_string(17179869183 - i));
    });
    p.privates = Repeat(4, [](int i) {
        return PrivateXml("Priv" + std::to_string(i), std::to_string(10000010 + i));
    });
    const CVirtualCodeplug image = Convert(MakeProfile(p));
    const std::u16string expectedNames[] = {u"Pub0",  u"Pub1",  u"Pub2",  u"G1",   u"G2",
                                            u"Priv0", u"Priv1", u"Priv2", u"Priv3"};
    const int expectedTypes[] = {2, 2, 2, 1, 1, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(image.contacts[i].name, expectedNames[i]) << i;
        EXPECT_EQ(image.contacts[i].cntct_type, expectedTypes[i]) << i;
    }
    for (std::size_t i = 9; i < kMaxContacts; ++i) {
        EXPECT_EQ(image.contacts[i], CContactRecord{}) << i;
    }
}

TEST(DataAdaptor, NumbersParseLikeTheRadioToolsAlwaysDid) {
    struct Case {
        const char* channel;    // one-byte field
        const char* backlight;  // 32-bit field
        const char* flag;       // in_scroll_list
        int expectedChannel;
        std::uint32_t expectedBacklight;
        bool expectedFlag;
    };
    const Case cases[] = {
        {"  7", " 42", "1", 7, 42, true},
        {"12abc", "12abc", "3", 12, 12, true},
        {"", "", "", 0, 0, false},
        {"256", "4294967295", "2", 0, 4294967295u, false},
        {"99999999999", "99999999999", "0", 255, 4294967295u, false},  // overflow: largest value
        {"-5", "+5", "x1", 0, 0, false},
        {"\t\n 9", "007", "01", 9, 7, true},
    };
    for (const Case& c : cases) {
        ProfilePieces p;
        p.publicGroups = "<PublicGroup cntct_type=\"2\" name=\"A\" pid=\"1\" channel=\"" +
                         std::string(c.channel) + "\" in_scan_list=\"0\" in_scroll_list=\"" +
                         c.flag + "\"/>";
        std::string xml = MakeProfile(p);
        xml.replace(xml.find("backlight=\"0\""), 13,
                    "backlight=\"" + std::string(c.backlight) + "\"");
        const CVirtualCodeplug image = Convert(xml);
        EXPECT_EQ(image.contacts[0].channel, c.expectedChannel) << c.channel;
        EXPECT_EQ(image.settings.backlight, c.expectedBacklight) << c.backlight;
        EXPECT_EQ(InScroll(image.contacts[0]), c.expectedFlag) << c.flag;
    }
}

TEST(DataAdaptor, RecordTypeComesFromTheAttributeNotTheElement) {
    ProfilePieces p;
    p.publicGroups =
        "<PublicGroup cntct_type=\"0\" name=\"A\" pid=\"1\" channel=\"1\""
        " in_scan_list=\"1\" in_scroll_list=\"0\"/>";
    const CVirtualCodeplug image = Convert(MakeProfile(p));
    EXPECT_EQ(image.contacts[0].cntct_type, kContactPrivate);
    EXPECT_EQ(image.contacts[0].contact_flags, kFlagInScanList);
}

TEST(DataAdaptor, FieldsAProfileLacksKeepWhatTheImageHeld) {
    ProfilePieces p;
    p.privates = PrivateXml("Bob", "10000002",
                            "<ParentPrivateGroups><ParentPrivateGroup pid=\"10001000\"/>"
                            "<ParentPrivateGroup pid=\"10001001\"/></ParentPrivateGroups>"
                            "<scrolllist/>");
    CVirtualCodeplug image;
    image.texts[0] = u"kept";
    image.texts[24] = u"kept too";
    image.contacts[0].parent_groups = {u"a", u"b", u"c", u"d", u"e"};
    image.contacts[0].group_count = 9;
    CDataAdaptor::XML2VirtualCP(MakeProfile(p), image, u"");
    EXPECT_EQ(image.texts[0], u"kept");  // no TextMessage elements: texts untouched
    EXPECT_EQ(image.texts[24], u"kept too");
    const std::array<std::u16string, 5> parents = {u"10001000", u"10001001", u"c", u"d", u"e"};
    EXPECT_EQ(image.contacts[0].parent_groups, parents);
    EXPECT_EQ(image.contacts[0].group_count, 9);
}

TEST(DataAdaptor, LanguagesFillTheListButNotTheCount) {
    ProfilePieces p;
    p.languages =
        "<language language_id=\"4\"/><language language_id=\"5\"/>"
        "<language language_id=\"6\"/>";
    p.limitExtra = "num_of_languages=\"2\"";
    const CVirtualCodeplug image = Convert(MakeProfile(p));
    EXPECT_EQ(image.limits.num_of_languages, 2);
    EXPECT_EQ(image.limits.languages, (std::array<std::uint8_t, 6>{4, 5, 6, 0, 0, 0}));
}

TEST(DataAdaptor, CapabilityAndSettingsFlagsLandOnTheirBits) {
    ProfilePieces p;
    std::string xml = MakeProfile(p);
    auto set = [&xml](const std::string& attr) {
        xml.replace(xml.find(" " + attr + "=\"0\""), attr.size() + 5, " " + attr + "=\"1\"");
    };
    set("ota_time_update_rx_en");
    set("mngr_mode_en");
    set("prvt_call_rec_dis");
    set("priv_grp_call_rep_dis");
    set("time_format");
    set("internal_ptt_dis");
    CVirtualCodeplug image;
    image.limits.capability_flags = 0x000000FFu;  // bits with no attribute stay as they were
    CDataAdaptor::XML2VirtualCP(xml, image, u"");
    EXPECT_EQ(image.limits.capability_flags, (1u << 28) | (1u << 14) | (1u << 10) | 0xFFu);
    EXPECT_EQ(image.settings.settings_flags, (1u << 22) | (1u << 31) | (1u << 17));
}

TEST(DataAdaptor, NoiseLevelsShareOneByte) {
    ProfilePieces p;
    std::string xml = MakeProfile(p);
    xml.replace(xml.find("noise_level_accessory=\"0\""), 25, "noise_level_accessory=\"19\"");
    xml.replace(xml.find("noise_level_radio=\"0\""), 21, "noise_level_radio=\"10\"");
    EXPECT_EQ(Convert(xml).settings.noise_levels, 0x3A);  // 19 keeps its low 4 bits
}

TEST(DataAdaptor, SurplusBeyondTheImageIsRefusedWithTheLimitNamed) {
    struct Case {
        ProfilePieces pieces;
        const char* limitText;
    };
    ProfilePieces contacts;
    contacts.publicGroups = Repeat(100, [](int i) {
        return PublicGroupXml("P" + std::to_string(i), std::to_string(17179869183 - i));
    });
    contacts.privates = Repeat(51, [](int i) {
        return PrivateXml("X" + std::to_string(i), std::to_string(10000001 + i));
    });
    ProfilePieces texts;
    texts.texts =
        Repeat(26, [](int i) { return "<TextMessage txt=\"t" + std::to_string(i) + "\"/>"; });
    ProfilePieces languages;
    languages.languages =
        Repeat(7, [](int) { return std::string("<language language_id=\"1\"/>"); });
    ProfilePieces parents;
    parents.privates = PrivateXml("Bob", "10000002", "<ParentPrivateGroups>" + Repeat(6, [](int i) {
                                                         return "<ParentPrivateGroup pid=\"" +
                                                                std::to_string(10001000 + i) +
                                                                "\"/>";
                                                     }) + "</ParentPrivateGroups><scrolllist/>");
    const Case cases[] = {
        {contacts, "151 contacts; at most 150"},
        {texts, "26 text messages; at most 25"},
        {languages, "7 languages; at most 6"},
        {parents, "6 parent groups for one private contact; at most 5"},
    };
    for (const Case& c : cases) {
        CVirtualCodeplug image;
        try {
            CDataAdaptor::XML2VirtualCP(MakeProfile(c.pieces), image, u"");
            ADD_FAILURE() << "accepted: " << c.limitText;
        } catch (const CQMVVLTException& e) {
            EXPECT_EQ(e.Code(), 105);
            EXPECT_NE(e.Message().find(c.limitText), std::string::npos) << e.Message();
        }
    }
    // Exactly at the limits is fine.
    ProfilePieces full;
    full.publicGroups = Repeat(150, [](int i) {
        return PublicGroupXml("P" + std::to_string(i), std::to_string(17179869183 - i));
    });
    full.texts =
        Repeat(25, [](int i) { return "<TextMessage txt=\"t" + std::to_string(i) + "\"/>"; });
    const CVirtualCodeplug image = Convert(MakeProfile(full));
    EXPECT_EQ(image.contacts[149].name, u"P149");
    EXPECT_EQ(image.texts[24], u"t24");
}

TEST(DataAdaptor, BrokenProfilesStopWithATracedException) {
    const std::string good = MakeProfile({});
    auto without = [&good](const std::string& piece) {
        std::string xml = good;
        xml.erase(xml.find(piece), piece.size());
        return xml;
    };
    const std::string cases[] = {
        "not xml at all",
        good.substr(0, good.size() / 2),
        without(" model=\"Q410\""),
        without(" firmware_phase=\"R\""),
        without(" noise_level_radio=\"0\""),
        std::string("<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY a \"b\">]>") +
            good.substr(good.find("<QMVProfile")),
        "<QMVProfile xmlns=\"urn:varentis:qmv-vlt:profile\"/>",
        "<QMVProfile><version/></QMVProfile>",  // wrong namespace: nothing found
    };
    for (const std::string& xml : cases) {
        CVirtualCodeplug image;
        try {
            CDataAdaptor::XML2VirtualCP(xml, image, u"10000001");
            ADD_FAILURE() << "accepted: " << xml.substr(0, 80);
        } catch (const CQMVVLTException& e) {
            EXPECT_EQ(e.Code(), 105);
            EXPECT_NE(e.Trace().find("(CDataAdaptor::XML2VirtualCP:"), std::string::npos);
            EXPECT_NE(e.Trace().find(") Exception Catched"), std::string::npos);
        }
    }
}

TEST(DataAdaptor, TextsAndEscapedCharactersArriveUnchanged) {
    ProfilePieces p;
    p.publicGroups = PublicGroupXml("Tom &amp; &quot;Jerry&quot; &lt;1&gt;", "17179869183");
    p.texts = "<TextMessage txt=\"Caf&#233; at 5\"/><TextMessage txt=\"Zo\xC3\xAB\"/>";
    const CVirtualCodeplug image = Convert(MakeProfile(p));
    EXPECT_EQ(image.contacts[0].name, u"Tom & \"Jerry\" <1>");
    EXPECT_EQ(image.texts[0], u"Caf\u00e9 at 5");
    EXPECT_EQ(image.texts[1], u"Zo\u00eb");
}

namespace {

// A profile with a private scroll list on the radio 10000002.
std::string ScrollListProfile(const std::string& privateScrollList, const std::string& entries) {
    ProfilePieces p;
    p.publicGroups = PublicGroupXml("Fire", "17179869183", 1, 0, 1) +
                     PublicGroupXml("Say &quot;Hi&quot; now", "17179869182", 1, 0, 0);
    p.privateGroups =
        PrivateGroupXml("Crew", "10001000", 1, 1) + PrivateGroupXml("Twin", "10001001", 1, 0);
    p.privates = PrivateXml("Twin", "10000001", "", "", 1) +
                 PrivateXml("Owner", "10000002",
                            "<ParentPrivateGroups/><scrolllist>" + entries + "</scrolllist>",
                            " private_scroll_list=\"" + privateScrollList + "\"") +
                 PrivateXml("&quot;Q&quot; Quote", "10000003") +
                 PrivateXml("Ann", "10000004", "", "", 1);
    return MakeProfile(p);
}

std::vector<bool> ScrollFlags(const CVirtualCodeplug& image) {
    std::vector<bool> flags;
    for (std::size_t i = 0; i < 8; ++i) {
        flags.push_back(InScroll(image.contacts[i]));
    }
    return flags;
}

}  // namespace

TEST(DataAdaptor, PrivateScrollListReplacesTheGlobalOneForItsRadio) {
    const std::string entries =
        "<list name=\"Say &quot;Hi&quot; now\"/><list name=\"Twin\"/>"
        "<list name=\"&quot;Q&quot; Quote\"/><list name=\"Nobody\"/>";
    const std::vector<bool> profileFlags = {true, false, true, false, true, false, false, true};
    struct Case {
        const char* privateScrollList;
        std::string entries;
        std::u16string radioPid;
        std::vector<bool> expected;
    };
    const Case cases[] = {
        // No radio PID: exactly the profile's own flags.
        {"1", entries, u"", profileFlags},
        // A radio that is not in the profile, or whose list is off, changes nothing.
        {"1", entries, u"10009999", profileFlags},
        {"0", entries, u"10000002", profileFlags},
        // "Twin" is shared by a private group and a private: only the first in document order.
        {"1", entries, u"10000002", {false, true, false, true, false, false, true, false}},
        // An empty personal list clears every contact's flag.
        {"1", "", u"10000002", {false, false, false, false, false, false, false, false}},
        {"7",
         "<list name=\"Ann\"/>",
         u"10000002",
         {false, false, false, false, false, false, false, true}},
    };
    for (const Case& c : cases) {
        const CVirtualCodeplug image =
            Convert(ScrollListProfile(c.privateScrollList, c.entries), c.radioPid);
        EXPECT_EQ(ScrollFlags(image), c.expected)
            << c.privateScrollList << " " << std::string(c.radioPid.begin(), c.radioPid.end());
    }
}

TEST(DataAdaptor, CopyPrvtScrlLstLeavesTheCallersTextAlone) {
    const std::string text = ScrollListProfile("1", "<list name=\"Ann\"/>");
    const std::string copy = text;
    XmlDocPtr doc = CDataAdaptor::CopyPrvtScrlLst(text, u"10000002");
    ASSERT_TRUE(doc);
    EXPECT_EQ(text, copy);
    const CXPath xpath(doc.get());
    EXPECT_EQ(GetAttribute(xpath.SelectFirst("//dfns:Private[@name='Ann']"), "in_scroll_list"),
              "1");
    EXPECT_EQ(GetAttribute(xpath.SelectFirst("//dfns:PublicGroup[@name='Fire']"), "in_scroll_list"),
              "0");
    // A PID that could break out of the query is treated as matching nobody.
    EXPECT_TRUE(CDataAdaptor::CopyPrvtScrlLst(text, u"1' or '1'='1"));
}
