#include <gtest/gtest.h>

#include "CAppSettings.h"
#include "CQMVVLTException.h"
#include "LoadSettingDoc.h"

namespace {

const std::string kData = QMVVLT_SOURCE_DATA_DIR;

// A settings document with one field per group section and a control on each.
std::string Settings(
    const std::string& g1Region, const std::string& g3Common,
    const std::string& visible = "<ViewA><Control ID=\"1\" isVisible=\"1\"/></ViewA>") {
    return "<UpDownGradeSetting xmlns=\"urn:varentis:qmv-vlt:profile\"><VLTVersion/>"
           "<CodePlugSetting><G1><RegionCommon>"
           "<CPField name=\"a\" isExist=\"1\"><Control ID=\"10\" RightView=\"ViewA\"/></CPField>"
           "<CPField name=\"b\" isExist=\"1\"><Control ID=\"11\" RightView=\"ViewB\"/></CPField>"
           "</RegionCommon><LACR>" +
           g1Region + "</LACR></G1><G2><RegionCommon/></G2><G3><RegionCommon>" + g3Common +
           "</RegionCommon><LACR/></G3></CodePlugSetting>"
           "<VisibleSetting><G1><RegionCommon>" +
           visible +
           "</RegionCommon><LACR/></G1><G3><RegionCommon/></G3></VisibleSetting>"
           "</UpDownGradeSetting>";
}

std::vector<std::pair<std::string, std::string>> Controls(xmlDoc* working) {
    std::vector<std::pair<std::string, std::string>> controls;
    for (xmlNode* view = xmlDocGetRootElement(working)->children; view; view = view->next) {
        for (xmlNode* c = view->children; c; c = c->next) {
            if (c->type == XML_ELEMENT_NODE) {
                controls.emplace_back(
                    std::string(NodeName(view)) + "/" + GetAttribute(c, "ID").value_or("?"),
                    GetAttribute(c, "isVisible").value_or("?"));
            }
        }
    }
    return controls;
}

CAppSettings Make(const std::string& settings) {
    return CAppSettings(
        CHelpPaneSetting(ParseXmlSafely("<HelpPane/>")),
        CRegionSetting(ParseXmlSafely(
            "<RegionSetting xmlns=\"urn:varentis:qmv-vlt:profile\"><Region name=\"LACR\"/>"
            "</RegionSetting>")),
        CUpDownGradeSetting(ParseXmlSafely(settings)));
}

}  // namespace

TEST(AppSettings, ExpectedRegionOfTheApplicationName) {
    struct Case {
        const char* name;
        const char* region;
    };
    for (const Case c : {Case{"QMV410 VLT", "LACR"}, Case{"QMV520 VLT", "FEMA"},
                         Case{"QMV VLT", "QMV"}, Case{"QMV777 VLT", "777"}}) {
        EXPECT_EQ(ExpectedRegion(c.name), c.region) << c.name;
    }
}

TEST(AppSettings, MergedControlsFollowTheFieldsOfTheGroup) {
    struct Case {
        const char* what;
        std::string g1Region, g3Common;
        std::vector<std::pair<std::string, std::string>> expected;
    };
    const Case cases[] = {
        {"plain", "", "", {{"ViewA/1", "1"}, {"ViewA/10", "1"}, {"ViewB/11", "1"}}},
        // a later group turning a field off hides its control
        {"field off",
         "",
         "<CPField name=\"b\" isExist=\"0\"/>",
         {{"ViewA/1", "1"}, {"ViewA/10", "1"}}},
        // a region field the common part lacks is appended with its control
        {"region field",
         "<CPField name=\"c\" isExist=\"1\"><Control ID=\"12\" RightView=\"ViewC\"/></CPField>",
         "",
         {{"ViewA/1", "1"}, {"ViewA/10", "1"}, {"ViewB/11", "1"}, {"ViewC/12", "1"}}},
    };
    for (const Case& c : cases) {
        CAppSettings settings = Make(Settings(c.g1Region, c.g3Common));
        std::string trace;
        ASSERT_TRUE(settings.BuildGroupSettings(3, &trace)) << c.what << trace;
        EXPECT_EQ(settings.CurrentGroup(), 3);
        EXPECT_EQ(Controls(settings.WorkingCopy()), c.expected) << c.what;
    }
}

TEST(AppSettings, BrokenSettingsStopTheRebuildWithTheirMessage) {
    struct Case {
        std::string settings;
        const char* message;
    };
    const Case cases[] = {
        {Settings("", "", "<ViewA><Control ID=\"10\" isVisible=\"0\"/></ViewA>"),
         "Error: 101 Some node exist in CodePlugSetting part and VisibleSetting."},
        {Settings("<CPField isExist=\"1\"/>", ""),
         "Error: 102 Some node are not correct, please check."},
        {Settings("", "<CPField name=\"x\"/>"),
         "Error: 102 Some node are not correct, please check."},
    };
    for (const Case& c : cases) {
        CAppSettings settings = Make(c.settings);
        std::string trace;
        EXPECT_FALSE(settings.BuildGroupSettings(3, &trace));
        EXPECT_NE(trace.find(c.message), std::string::npos) << trace;
        EXPECT_NE(trace.find("\n(CQMVVLTApp::"), std::string::npos) << trace;
    }
}

TEST(AppSettings, ShippedSettingsBuildForEveryGroup) {
    CAppSettings settings(
        CHelpPaneSetting(LoadSettingDocFile(kData + "/lib/HelpPane.stv")),
        CRegionSetting(LoadSettingDocFile(kData + "/lib/Region.stv")),
        CUpDownGradeSetting(LoadSettingDocFile(kData + "/lib/UpDownGradeSetting.stv")));
    EXPECT_EQ(settings.RegionName(), ExpectedRegion(kApplicationName));
    for (int group : {3, 1, 2, 3}) {
        std::string trace;
        EXPECT_TRUE(settings.SwitchToGroup(group, &trace)) << group << trace;
        EXPECT_EQ(settings.CurrentGroup(), group);
        ASSERT_NE(xmlDocGetRootElement(settings.WorkingCopy()), nullptr);
    }
}
