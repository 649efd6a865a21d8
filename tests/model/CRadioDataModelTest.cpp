#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CQMVVLTException.h"
#include "CRadioDataModel.h"
#include "CUpDownGradeSetting.h"
#include "DataFile.h"
#include "LoadSettingDoc.h"
#include "TestInstall.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const fs::path kData = QMVVLT_SOURCE_DATA_DIR;
const std::string kSample = ReadFile(kData / "samples/SampleProfile.xml");

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const auto pos = text.find(from);
    EXPECT_NE(pos, std::string::npos) << from;
    if (pos != std::string::npos) {
        text.replace(pos, from.size(), to);
    }
    return text;
}

class RadioDataModel : public ::testing::Test {
  protected:
    RadioDataModel()
        : m_settings(LoadSettingDocFile(kData / "lib/UpDownGradeSetting.stv")),
          m_model(CModelEnvironment{TestInstallFolder(), &m_settings, "LACR"}) {}

    int LoadFails(const std::string& text, bool asFile = false) {
        try {
            if (asFile) {
                const fs::path file = TestInstallFolder() / "model-test.lam";
                std::ofstream(file, std::ios::binary) << text;
                m_model.LoadProfile(file.string(), true);
                fs::remove(file);
            } else {
                m_model.LoadProfile(text, false);
            }
        } catch (const CQMVVLTException& e) {
            return e.Code();
        }
        return 0;
    }

    CUpDownGradeSetting m_settings;
    CRadioDataModel m_model;
};

}  // namespace

TEST_F(RadioDataModel, SampleLoadsAsALatestFormatProfile) {
    ASSERT_TRUE(m_model.LoadProfile(kSample, false));
    EXPECT_EQ(m_model.GetModelGroup(), 3);
    EXPECT_EQ(m_model.GroupFieldList().size(), m_model.LatestFieldList().size());
    const CDataItem root = m_model.GetRootItem();
    EXPECT_EQ(NodeName(root.Node()), "QMVProfile");
    EXPECT_EQ(root.GetChildByName("Contacts").GetChildByName("Privates").GetChildCount(), 4);
    EXPECT_EQ(m_model.GetPublicGroupIdBanks()[0].firstNumber, 1);
    EXPECT_EQ(m_model.GetPublicGroupIdBanks()[0].lastNumber, 100);
}

TEST_F(RadioDataModel, CompatibilityVersionGate) {
    struct Case {
        const char* value;
        int code;
    };
    for (const Case c : {Case{"10", 0}, Case{"15", 0}, Case{"12", 10156}, Case{"", 10156}}) {
        const std::string text =
            Replace(kSample, "clone_compatibility_version=\"10\"",
                    std::string("clone_compatibility_version=\"") + c.value + "\"");
        EXPECT_EQ(LoadFails(text), c.code) << c.value;
    }
}

TEST_F(RadioDataModel, BadProfilesAreRefusedWithTheirMessage) {
    struct Case {
        std::string name;
        std::string text;
        bool asFile;
        int code;
    };
    const Case cases[] = {
        {"truncated", kSample.substr(0, kSample.size() / 2), false, 105},
        {"truncated file", kSample.substr(0, kSample.size() / 2), true, 105},
        {"no TextMessages", Replace(Replace(kSample, "<TextMessages>", ""), "</TextMessages>", ""),
         true, 106},
        {"wrong namespace", Replace(kSample, "urn:varentis:qmv-vlt:profile", "urn:other"), true,
         105},
        {"wrong namespace as text", Replace(kSample, "urn:varentis:qmv-vlt:profile", "urn:other"),
         false, 105},
        {"entity expansion",
         "<?xml version=\"1.0\"?><!DOCTYPE QMVProfile [<!ENTITY a \"aaaaaaaaaa\">"
         "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c "
         "\"&b;&b;&b;&b;&b;&b;&b;&b;\">]>" +
             kSample.substr(kSample.find("<QMVProfile")),
         false, 105},
        {"external entity",
         "<?xml version=\"1.0\"?><!DOCTYPE QMVProfile [<!ENTITY x SYSTEM "
         "\"file:///etc/passwd\">]>" +
             Replace(kSample.substr(kSample.find("<QMVProfile")), "Call the office", "&x;"),
         true, 105},
        {"schema violation", Replace(kSample, "<TextMessages>", "<TextMessages><Bogus/>"), false,
         105},
        {"empty file", "", true, 105},
        {"not a profile",
         "<Private xmlns=\"urn:varentis:qmv-vlt:profile\" cntct_type=\"0\" name=\"x\" pid=\"1\"/>",
         false, 105},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadFails(c.text, c.asFile), c.code) << c.name;
    }
}

TEST_F(RadioDataModel, UnknownFirmwareBuildsListsForGroupZeroAndTheLatest) {
    const std::string text = Replace(kSample, "firmware_release=\"94\"", "firmware_release=\"17\"");
    ASSERT_EQ(LoadFails(text), 0);
    EXPECT_EQ(m_model.GetModelGroup(), 0);
    // Group 0 has no fields of its own: it gets more added than the latest format lacks.
    EXPECT_NE(&m_model.GroupFieldList(), &m_model.LatestFieldList());
    EXPECT_GT(m_model.GroupFieldList().size(), m_model.LatestFieldList().size());
}

TEST_F(RadioDataModel, LoadTakeOffAndLoadAgainChangesNothing) {
    ASSERT_TRUE(m_model.LoadProfile(kSample, false));
    const std::string loaded = m_model.ProfileText();
    ASSERT_EQ(m_model.TakeOffDoc(false), 1);
    const std::string saved = m_model.RawProfileText();
    ASSERT_TRUE(m_model.LoadProfile(saved, false));
    EXPECT_EQ(m_model.ProfileText(), loaded);
}

TEST_F(RadioDataModel, FileLoadSortsTheLists) {
    const std::string unsorted = Replace(Replace(kSample, "name=\"Ana Lima\"", "name=\"zed\""),
                                         "txt=\"Call the office\"", "txt=\"Zulu\"");
    ASSERT_EQ(LoadFails(unsorted, true), 0);
    const CDataItem privates =
        m_model.GetRootItem().GetChildByName("Contacts").GetChildByName("Privates");
    EXPECT_EQ(GetAttribute(privates.GetChildByIndex(0).Node(), "name"), "Bruno Costa");
    EXPECT_EQ(GetAttribute(privates.GetChildByIndex(3).Node(), "name"), "zed");
    const CDataItem texts = m_model.GetRootItem().GetChildByName("TextMessages");
    EXPECT_EQ(GetAttribute(texts.GetChildByIndex(2).Node(), "txt"), "Zulu");
}

TEST_F(RadioDataModel, ARefusedLoadLeavesTheModelUsable) {
    ASSERT_EQ(LoadFails(kSample.substr(0, 100)), 105);
    ASSERT_TRUE(m_model.LoadProfile(kSample, false));
    EXPECT_EQ(m_model.GetModelGroup(), 3);
}

TEST_F(RadioDataModel, OlderProfilesGetTheLatestFieldsAtLoadAndLoseThemAtSave) {
    // A group-1 profile: no public group ranges beyond the old start PID, no scroll lists.
    std::string text = Replace(kSample, "firmware_version=\"8\"", "firmware_version=\"1\"");
    text = Replace(text, "starting_public_grp_pid=\"17179869183\"",
                   "starting_public_grp_pid=\"17179869100\"");
    text = Replace(text, "public_grp_info_start_pid0=\"17179869183\"", "");
    const auto listStart = text.find("<scrolllist>");
    text.erase(listStart, text.find("</scrolllist>") + 13 - listStart);
    for (auto pos = text.find("<scrolllist/>"); pos != std::string::npos;
         pos = text.find("<scrolllist/>")) {
        text.erase(pos, 13);
    }
    ASSERT_EQ(LoadFails(text, true), 0);
    EXPECT_EQ(m_model.GetModelGroup(), 1);
    const CDataItem root = m_model.GetRootItem();
    // replaceby: the new attribute takes the old one's value.
    EXPECT_EQ(GetAttribute(root.GetChildByName("limit").Node(), "public_grp_info_start_pid0"),
              "17179869100");
    const CDataItem first =
        root.GetChildByName("Contacts").GetChildByName("Privates").GetChildByIndex(0);
    EXPECT_FALSE(first.GetChildByName("scrolllist").IsEmpty());

    ASSERT_EQ(m_model.TakeOffDoc(false), 1);
    const std::string saved = m_model.RawProfileText();
    EXPECT_EQ(saved.find("public_grp_info_start_pid0"), std::string::npos);
    EXPECT_EQ(saved.find("scrolllist"), std::string::npos);
    EXPECT_NE(saved.find("starting_public_grp_pid=\"17179869100\""), std::string::npos);

    // Converting keeps what the latest format has.
    ASSERT_EQ(m_model.TakeOffDoc(true), 1);
    EXPECT_NE(m_model.RawProfileText().find("public_grp_info_start_pid0=\"17179869100\""),
              std::string::npos);
}

TEST(ProfileFiles, PlainProfilesReadTheSameInUtf8AndCodePage1252) {
    const fs::path dir = TestInstallFolder() / "plain";
    fs::create_directories(dir);
    const std::string head = "<?xml version=\"1.0\"?><p name=\"";
    struct Case {
        const char* file;
        std::string bytes;
    };
    const Case cases[] = {
        {"utf8.xml", head + "Zo\xC3\xAB \xE2\x82\xAC\"/>"},
        {"cp1252.xml", head + "Zo\xEB \x80\"/>"},
    };
    for (const Case& c : cases) {
        WriteFileBytes(dir / c.file, c.bytes);
        const ProfileText text = ReadProfileText(dir / c.file);
        EXPECT_EQ(text.utf8, head + "Zo\xC3\xAB \xE2\x82\xAC\"/>") << c.file;
        EXPECT_TRUE(text.narrow);
    }
}

TEST_F(RadioDataModel, EveryShippedTemplateSurvivesTakeOffAndReload) {
    for (const char* name : {"QMV410.lam", "QMV410 M.lam"}) {
        const fs::path file = TestInstallFolder() / "ProfileTemplate" / name;
        ASSERT_TRUE(m_model.LoadProfile(file.string(), true)) << name;
        EXPECT_EQ(m_model.GetModelGroup(), 3);
        const std::string loaded = m_model.ProfileText();
        ASSERT_EQ(m_model.TakeOffDoc(false), 1);
        ASSERT_TRUE(m_model.LoadProfile(m_model.RawProfileText(), false));
        EXPECT_EQ(m_model.ProfileText(), loaded) << name;
    }
}

TEST_F(RadioDataModel, ARefusedLoadKeepsTheOpenProfileWithItsEdits) {
    ASSERT_TRUE(m_model.LoadProfile(kSample, false));
    SetAttribute(CXPath(m_model.GetProfileDoc()).SelectFirst("//dfns:setting"), "contrast", "7");
    const std::string edited = m_model.ProfileText();
    ASSERT_EQ(m_model.TakeOffDoc(false), 1);
    const std::string saved = m_model.RawProfileText();
    struct Case {
        const char* what;
        std::string text;
        bool asFile;
    };
    const Case cases[] = {
        {"schema violation", Replace(kSample, "<TextMessages>", "<TextMessages><Bogus/>"), false},
        {"not well-formed", kSample.substr(0, 300), true},
        {"unsupported model",
         Replace(kSample, "clone_compatibility_version=\"10\"",
                 "clone_compatibility_version=\"12\""),
         false},
        // an older group builds other field lists before it is refused
        {"refused group-1 file",
         Replace(Replace(kSample, "firmware_version=\"8\"", "firmware_version=\"1\""),
                 "<TextMessages>", "<TextMessages><Bogus/>"),
         true},
    };
    for (const Case& c : cases) {
        EXPECT_NE(LoadFails(c.text, c.asFile), 0) << c.what;
        EXPECT_EQ(m_model.ProfileText(), edited) << c.what;
        EXPECT_EQ(m_model.GetModelGroup(), 3) << c.what;
        ASSERT_EQ(m_model.TakeOffDoc(false), 1) << c.what;
        EXPECT_EQ(m_model.RawProfileText(), saved) << c.what;
    }
}

TEST_F(RadioDataModel, UnknownFirmwareKeepsTheFieldsItHolds) {
    std::string fields = Replace(kSample, "password=\"\"", "password=\"1234\"");
    fields = Replace(fields, "public_grp_info_start_pid1=\"0\"",
                     "public_grp_info_start_pid1=\"17179869000\"");
    struct Case {
        const char* release;
        int group;
    };
    // 0x11 is older than every known version, 0x5F newer: edited as the latest format.
    for (const Case c : {Case{"17", 0}, Case{"95", 3}}) {
        SCOPED_TRACE(c.release);
        const std::string text = Replace(fields, "firmware_release=\"94\"",
                                         std::string("firmware_release=\"") + c.release + "\"");
        ASSERT_EQ(LoadFails(text), 0);
        EXPECT_EQ(m_model.GetModelGroup(), c.group);
        const xmlNode* limit = CXPath(m_model.GetProfileDoc()).SelectFirst("//dfns:limit");
        const xmlNode* setting = CXPath(m_model.GetProfileDoc()).SelectFirst("//dfns:setting");
        EXPECT_EQ(GetAttribute(setting, "password"), "1234");
        EXPECT_EQ(GetAttribute(setting, "noise_level_radio"), "4");
        EXPECT_EQ(GetAttribute(limit, "public_grp_info_start_pid1"), "17179869000");
    }
    ASSERT_EQ(m_model.TakeOffDoc(false), 1);
    EXPECT_NE(m_model.RawProfileText().find("password=\"1234\""), std::string::npos);
    EXPECT_NE(m_model.RawProfileText().find("noise_level_radio=\"4\""), std::string::npos);
}

TEST_F(RadioDataModel, CloneSectionsApply) {
    // The own group's clone section keeps a field the group otherwise lacks.
    const std::string settings =
        "<UpDownGradeSetting xmlns=\"urn:varentis:qmv-vlt:profile\"><VLTVersion>"
        "<G1><VerSpan startVer=\"5E.00.00\" endVer=\"5E.02.63\"/></G1>"
        "<G3><VerSpan startVer=\"5E.06.00\" endVer=\"5E.08.63\"/></G3></VLTVersion>"
        "<CodePlugSetting><G1><RegionCommon/><LACR><Clone_15>"
        "<CPField name=\"password\" isExist=\"1\" nodename=\"setting\" defaulvalue=\"\"/>"
        "</Clone_15></LACR></G1>"
        "<G2><RegionCommon/></G2><G3><RegionCommon>"
        "<CPField name=\"password\" isExist=\"1\" nodename=\"setting\" defaulvalue=\"\"/>"
        "</RegionCommon></G3></CodePlugSetting></UpDownGradeSetting>";
    const CUpDownGradeSetting custom(ParseXmlSafely(settings));
    CRadioDataModel model(CModelEnvironment{TestInstallFolder(), &custom, "LACR"});
    std::string group1 = Replace(kSample, "firmware_version=\"8\"", "firmware_version=\"1\"");
    group1 =
        Replace(group1, "clone_compatibility_version=\"10\"", "clone_compatibility_version=\"15\"");
    ASSERT_TRUE(model.LoadProfile(Replace(group1, "password=\"\"", "password=\"99\""), false));
    ASSERT_EQ(model.GetModelGroup(), 1);
    ASSERT_EQ(model.TakeOffDoc(false), 1);
    EXPECT_NE(model.RawProfileText().find("password=\"99\""), std::string::npos);

    // A modified-band group-1 profile gets the defaults of its clone version from the shipped
    // settings when the latest format's fields are added.
    const std::string noNoise =
        Replace(Replace(group1, "noise_level_accessory=\"3\"", ""), "noise_level_radio=\"4\"", "");
    ASSERT_EQ(LoadFails(noNoise), 0);
    const xmlNode* setting = CXPath(m_model.GetProfileDoc()).SelectFirst("//dfns:setting");
    EXPECT_EQ(GetAttribute(setting, "noise_level_accessory"), "3");
    EXPECT_EQ(GetAttribute(setting, "noise_level_radio"), "2");
    ASSERT_EQ(m_model.TakeOffDoc(true), 1);
    EXPECT_NE(m_model.RawProfileText().find("noise_level_accessory=\"3\""), std::string::npos);
}

TEST_F(RadioDataModel, TracesNameARefusedTextByItsFirstLineOnly) {
    const std::string oneLine = std::string(5000, ' ') + "<QMVProfile";
    for (const std::string& text : {kSample.substr(0, kSample.size() - 20), oneLine}) {
        try {
            m_model.LoadProfile(text, false);
            ADD_FAILURE();
        } catch (const CQMVVLTException& e) {
            EXPECT_EQ(e.Trace().find(text), std::string::npos);
            EXPECT_LT(e.Trace().size(), 1000u) << e.Trace();
        }
    }
}

TEST_F(RadioDataModel, ASnapshotBringsBackTheProfileAndHowItWasLoaded) {
    // A group-1 profile, snapshot, then edits and a load of another group (as a radio read does).
    std::string older = Replace(kSample, "firmware_version=\"8\"", "firmware_version=\"1\"");
    older = Replace(older, "public_grp_info_start_pid0=\"17179869183\"", "");
    ASSERT_EQ(LoadFails(older, true), 0);
    ASSERT_EQ(m_model.TakeOffDoc(false), 1);
    const std::string savedBefore = m_model.RawProfileText();
    const CProfileSnapshot snapshot = m_model.TakeSnapshot();

    const struct {
        const char* label;
        bool loadOther;
    } cases[] = {{"edit only", false}, {"edit, then another group loaded", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        xmlNode* first = m_model.GetRootItem()
                             .GetChildByName("Contacts")
                             .GetChildByName("Privates")
                             .GetChildByIndex(0)
                             .Node();
        SetAttribute(first, "name", "Changed");
        if (c.loadOther) {
            ASSERT_TRUE(m_model.LoadProfile(kSample, false));
            ASSERT_EQ(m_model.GetModelGroup(), 3);
        }
        EXPECT_FALSE(m_model.TakeSnapshot().SameState(snapshot));
        m_model.RestoreSnapshot(snapshot);
        EXPECT_EQ(m_model.GetModelGroup(), 1);
        EXPECT_TRUE(m_model.TakeSnapshot().SameState(snapshot));
        // Saving takes off exactly the fields the group-1 load added.
        ASSERT_EQ(m_model.TakeOffDoc(false), 1);
        EXPECT_EQ(m_model.RawProfileText(), savedBefore);
    }
}

TEST_F(RadioDataModel, ASnapshotThatDoesNotParseLeavesTheProfile) {
    ASSERT_TRUE(m_model.LoadProfile(kSample, false));
    CProfileSnapshot broken = m_model.TakeSnapshot();
    const std::string before = broken.profile;
    broken.profile.resize(broken.profile.size() / 2);
    try {
        m_model.RestoreSnapshot(broken);
        ADD_FAILURE() << "a truncated snapshot was restored";
    } catch (const CQMVVLTException& e) {
        EXPECT_EQ(e.Code(), 105);
    }
    EXPECT_EQ(m_model.ProfileText(), before);
}
