#include <gtest/gtest.h>

#include <string>

#include "CHelpPaneSetting.h"
#include "CQMVVLTException.h"
#include "CRegionSetting.h"
#include "CUpDownGradeSetting.h"
#include "FirmwareVersion.h"

namespace {

XmlDocPtr Parse(const std::string& body) {
    XmlDocPtr doc = ParseXmlSafely(
        "<?xml version=\"1.0\"?><Doc xmlns=\"urn:varentis:qmv-vlt:profile\">" + body + "</Doc>");
    EXPECT_TRUE(doc) << body;
    return doc;
}

TEST(CRegionSetting, CommentsInsideSupportLanguagesAreSkipped) {
    const CRegionSetting region(
        Parse("<Other><Region name='FEMA'/></Other><Region name='LACR'/>"
              "<SupportLanguages><!-- first -->\n  <language name='English' displayName='English'/>"
              "<!-- <language name='French'/> -->text<language name='German' displayName=''/>"
              "<?pi x?></SupportLanguages>"));
    EXPECT_EQ(region.RegionName(), "FEMA");  // the first match in document order
    const auto languages = region.SupportLanguages();
    ASSERT_EQ(languages.size(), 2u);
    EXPECT_EQ(languages[0].name, "English");
    EXPECT_EQ(languages[1].name, "German");
    EXPECT_EQ(region.DisplayName("English"), "English");
    EXPECT_EQ(region.DisplayName("German"), " ");  // empty menu text shows as a blank
    EXPECT_EQ(region.DisplayName("French"), std::nullopt);
    EXPECT_EQ(region.DisplayName("x' or '1'='1"), std::nullopt);
}

TEST(CRegionSetting, MissingPartsGiveEmptyAnswers) {
    const CRegionSetting region(Parse("<Nothing/>"));
    EXPECT_EQ(region.RegionName(), "");
    EXPECT_TRUE(region.SupportLanguages().empty());
    EXPECT_THROW(CRegionSetting(nullptr), CQMVVLTException);
}

TEST(CHelpPaneSetting, LooksUpBySectionAndId) {
    const CHelpPaneSetting help(
        Parse("<CPublicGroupView><map id='1053' pageName='Public Group.htm'/></CPublicGroupView>"
              "<CPrivateView><map id='1053' pageName='other.htm'/></CPrivateView>"));
    EXPECT_EQ(help.PageName("CPublicGroupView", "1053"), "Public Group.htm");
    EXPECT_EQ(help.PageName("CPrivateView", "1053"), "other.htm");
    EXPECT_EQ(help.PageName("CPublicGroupView", "1054"), std::nullopt);
    EXPECT_EQ(help.PageName("*", "1053"), std::nullopt);
    EXPECT_EQ(help.PageName("a/..//dfns:CPrivateView", "1053"), std::nullopt);
    EXPECT_EQ(help.PageName("CPublicGroupView", "1' or '1'='1"), std::nullopt);
}

TEST(FirmwareVersion, NumberReadsAllThreePartsAsHex) {
    const struct {
        const char* version;
        std::int64_t number;
    } cases[] = {
        {"5E.08.00", 0x5E * 10000 + 8 * 100},
        {"5E.10.15", 0x5E * 10000 + 0x10 * 100 + 0x15},
        {"0A.05.03", 10 * 10000 + 5 * 100 + 3},
        {"5e.0a.ff", 0x5E * 10000 + 10 * 100 + 255},
        {"zz.zz.zz", 0},
        {"", 0},
        {"5", 5 * 10000 + 5},  // short texts never read past their end
        {"5E", 0x5E * 10000 + 0x5E},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirmwareVersionNumber(c.version), c.number) << c.version;
    }
}

TEST(FirmwareVersion, FormatAndStrip) {
    EXPECT_EQ(FormatFirmwareVersion("R", 1, 2, 3), "R01.02.03");
    EXPECT_EQ(FormatFirmwareVersion("D", 0x5E, 8, 10), "D5E.08.10");
    EXPECT_EQ(StripFirmwarePhase("RDR5E.08.00"), "5E.08.00");
    EXPECT_EQ(StripFirmwarePhase("X5E"), "X5E");
    EXPECT_EQ(GroupNumberOfName("G12"), 12);
    EXPECT_EQ(GroupNumberOfName("GG3x"), 3);
    EXPECT_EQ(GroupNumberOfName("Gx"), 0);
    EXPECT_EQ(GroupNumberOfName("G99999999999999999999"), 0);
}

// G1's span covers G2's exact version, so only the exact match first gives group 2.
const char* kVersions =
    "<UpDownGradeSetting><VLTVersion>"
    "<G1><VerSpan startVer='5E.00.00' endVer='5E.05.00'/></G1>"
    "<G2><FirmwareVer version='5E.03.00'/></G2>"
    "<G3><VerSpan startVer='5E.06.00' endVer='5E.08.63'/><FirmwareVer version='5E.09.00'/></G3>"
    "<G7><VerSpan endVer='FF.FF.FF'/></G7>"
    "</VLTVersion></UpDownGradeSetting>";

TEST(CUpDownGradeSetting, ModelGroupOfAFirmwareVersion) {
    const CUpDownGradeSetting settings(Parse(kVersions));
    const struct {
        const char* version;
        int group;
    } cases[] = {
        {"5E.03.00", 2},                        // exact match before the earlier span
        {"R5E.03.00", 2},                       // phase letters stripped
        {"DRDR5E.03.00", 2},                    // all of them
        {"R5E.04.00", 1},    {"R5E.05.00", 1},  // span ends are inclusive
        {"R5E.06.00", 3},    {"D5E.08.63", 3},
        {"R5E.09.00", 3},  // exact, outside every span
        {"R5E.08.64", 0},  // 0x64 = 100: beyond the span's end
        {"R5F.00.00", 0},    {"", 0},
        {"5E.03.00'", 1},  // cannot match exactly; its number still lies in G1's span
        {"X5E.03.00", 0},  // only 'D' and 'R' are stripped
    };
    for (const auto& c : cases) {
        EXPECT_EQ(settings.GetModelGroup(c.version), c.group) << c.version;
    }
}

TEST(CUpDownGradeSetting, UpgradeVersionPrefersTheExactVersion) {
    const CUpDownGradeSetting settings(Parse(kVersions));
    EXPECT_EQ(settings.UpgradeVersion(3), "5E.09.00");
    EXPECT_EQ(settings.UpgradeVersion(1), "5E.00.00");
    EXPECT_EQ(settings.UpgradeVersion(4), std::nullopt);
    EXPECT_EQ(settings.VersionGroups(), (std::vector<int>{1, 2, 3, 7}));
}

TEST(CUpDownGradeSetting, EntriesOfASection) {
    const CUpDownGradeSetting settings(
        Parse("<UpDownGradeSetting><CodePlugSetting><G2><LACR>"
              "<CPField name='a' isExist='1' nodename='setting' defaulvalue='5' replaceby='old'>"
              "<Control ID='1066' RightView='Settings'/></CPField>"
              "<CPTag name='scrolllist' isExist='0' parentNode='Private'/>"
              "<Clone_15><CPField name='b' isExist='1' optional='1' nodename='limit'/></Clone_15>"
              "</LACR></G2></CodePlugSetting>"
              "<VisibleSetting><G1><RegionCommon><Settings><Control ID='1' isVisible='1'/>"
              "<Control ID='2' isVisible='0'/></Settings></RegionCommon></G1></VisibleSetting>"
              "</UpDownGradeSetting>"));
    const auto entries = settings.CodePlugEntries(2, "LACR");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].kind, "CPField");
    EXPECT_EQ(entries[0].defaulvalue, "5");
    EXPECT_EQ(entries[0].replaceby, "old");
    ASSERT_EQ(entries[0].controls.size(), 1u);
    EXPECT_EQ(entries[0].controls[0].id, 1066);
    EXPECT_EQ(entries[0].controls[0].rightView, "Settings");
    EXPECT_EQ(entries[1].kind, "CPTag");
    EXPECT_EQ(entries[1].parentNode, "Private");
    const auto clone = settings.CodePlugEntries(2, "LACR", "15");
    ASSERT_EQ(clone.size(), 1u);
    EXPECT_EQ(clone[0].optional, "1");
    EXPECT_TRUE(settings.CodePlugEntries(2, "LACR/..", "").empty());
    const auto visible = settings.VisibleControls(1, "RegionCommon", "Settings");
    ASSERT_EQ(visible.size(), 2u);
    EXPECT_EQ(visible[1].id, 2);
    EXPECT_EQ(visible[1].isVisible, 0);
}

}  // namespace
