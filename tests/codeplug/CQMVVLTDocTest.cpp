#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>

#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "Collation.h"
#include "DataFile.h"
#include "FullProfile.h"
#include "LoadSettingDoc.h"
#include "TestInstall.h"
#include "TextCodec.h"

namespace {

namespace fs = std::filesystem;

// Answers questions from a script and records what was asked.
class CScriptedUi : public IDocumentUi {
  public:
    std::deque<bool> answers;
    std::vector<int> asked;
    std::vector<int> errors;

    bool AskYesNo(int messageId) override {
        asked.push_back(messageId);
        const bool answer = !answers.empty() && answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
    void ShowError(int messageId, const std::string& detail) override {
        errors.push_back(messageId);
        lastDetail = detail;
    }
    std::string lastDetail;
};

CAppSettings LoadAppSettings() {
    const fs::path lib = TestInstallFolder() / "lib";
    return CAppSettings(CHelpPaneSetting(LoadSettingDocFile(lib / "HelpPane.stv")),
                        CRegionSetting(LoadSettingDocFile(lib / "Region.stv")),
                        CUpDownGradeSetting(LoadSettingDocFile(lib / "UpDownGradeSetting.stv")));
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const auto pos = text.find(from);
    EXPECT_NE(pos, std::string::npos) << from;
    return pos == std::string::npos ? text : text.replace(pos, from.size(), to);
}

// The sample profile in an older format: firmware version 1 is group 1, 5 is group 2.
std::string OlderProfile(int firmwareVersion) {
    std::string text =
        ReadFileBytes(fs::path(QMVVLT_SOURCE_DATA_DIR) / "samples/SampleProfile.xml");
    text = Replace(text, "firmware_version=\"8\"",
                   "firmware_version=\"" + std::to_string(firmwareVersion) + "\"");
    if (firmwareVersion == 1) {  // group 1 has no private scroll lists
        const auto start = text.find("<scrolllist>");
        text.erase(start, text.find("</scrolllist>") + 13 - start);
        for (auto pos = text.find("<scrolllist/>"); pos != std::string::npos;
             pos = text.find("<scrolllist/>")) {
            text.erase(pos, 13);
        }
    }
    return text;
}

fs::path TempFile(const std::string& name) {
    const fs::path dir = TestInstallFolder() / "work";
    fs::create_directories(dir);
    return dir / name;
}

class Document : public ::testing::Test {
  protected:
    Document() : m_app(LoadAppSettings()), m_doc(m_app, TestInstallFolder(), m_ui) {}

    CAppSettings m_app;
    CScriptedUi m_ui;
    CQMVVLTDoc m_doc;
};

}  // namespace

TEST_F(Document, TemplatesAreListedAndSurviveSaveAndOpen) {
    const auto names = CQMVVLTDoc::TemplateNames(TestInstallFolder());
    EXPECT_EQ(names, (std::vector<std::string>{"QMV410", "QMV410 M"}));
    for (const std::string& name : names) {
        CScriptedUi ui;
        CQMVVLTDoc doc(m_app, TestInstallFolder(), ui);
        ASSERT_TRUE(doc.NewFromTemplate(name)) << name;
        EXPECT_EQ(doc.Model().GetModelGroup(), 3);
        const std::string before = doc.Model().ProfileText();
        const fs::path file = TempFile(name + ".lam");
        ASSERT_TRUE(doc.Save(file));
        EXPECT_TRUE(ui.asked.empty());  // the latest format is never asked about
        // The templates are single-byte text, and a profile keeps the form it was read in.
        EXPECT_TRUE(ReadProfileText(file).narrow);
        EXPECT_NE(ReadFileBytes(file).substr(0, 5), "<?xml");  // saved scrambled

        CQMVVLTDoc reopened(m_app, TestInstallFolder(), ui);
        ASSERT_TRUE(reopened.Open(file));
        EXPECT_EQ(reopened.Model().ProfileText(), before);
        EXPECT_TRUE(ui.errors.empty());
    }
}

TEST_F(Document, NoTemplatesIsMessage10114) {
    const fs::path empty = TempFile("empty-install");
    fs::create_directories(empty / "ProfileTemplate");
    try {
        CQMVVLTDoc::TemplateNames(empty);
        FAIL();
    } catch (const CQMVVLTException& e) {
        EXPECT_EQ(e.Code(), 10114);
    }
}

TEST_F(Document, ConversionIsAskedUntilAccepted) {
    const fs::path file = TempFile("group1.lam");
    WriteFileBytes(file, EncodeDataFile(OlderProfile(1), false, true));
    ASSERT_TRUE(m_doc.Open(file)) << m_ui.lastDetail;
    ASSERT_EQ(m_doc.Model().GetModelGroup(), 1);
    EXPECT_EQ(m_app.CurrentGroup(), 1);

    m_ui.answers = {false, false, true};
    ASSERT_TRUE(m_doc.Save());
    ASSERT_TRUE(m_doc.Save());
    EXPECT_EQ(m_ui.asked, (std::vector<int>{297, 297}));
    // Declined group 1 is written as code page 1252, whatever it was read as.
    const std::string narrow = ReadFileBytes(file);
    EXPECT_NE(narrow.substr(0, 2), "\xFF\xFE");
    EXPECT_TRUE(ReadProfileText(file).narrow);
    EXPECT_NE(ReadProfileText(file).utf8.find("firmware_version=\"1\""), std::string::npos);

    ASSERT_TRUE(m_doc.Save());
    EXPECT_EQ(m_ui.asked.size(), 3u);
    EXPECT_TRUE(m_doc.ConvertFlag());
    EXPECT_EQ(m_doc.Model().GetModelGroup(), 3);
    EXPECT_EQ(m_app.CurrentGroup(), 3);
    ASSERT_TRUE(m_doc.Save());
    EXPECT_EQ(m_ui.asked.size(), 3u);  // converted: never asked again

    CQMVVLTDoc reopened(m_app, TestInstallFolder(), m_ui);
    ASSERT_TRUE(reopened.Open(file));
    EXPECT_EQ(reopened.Model().GetModelGroup(), 3);
}

TEST_F(Document, DeclinedGroupTwoKeepsItsWideForm) {
    const fs::path file = TempFile("group2.lam");
    WriteFileBytes(file, EncodeDataFile(OlderProfile(5), false, true));
    ASSERT_TRUE(m_doc.Open(file));
    ASSERT_EQ(m_doc.Model().GetModelGroup(), 2);
    m_ui.answers = {false};
    ASSERT_TRUE(m_doc.Save());
    const std::string bytes = ReadFileBytes(file);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(ReadProfileText(file).utf8.find("firmware_version=\"5\"") != std::string::npos, true);
}

TEST_F(Document, UpgradeWritesTheLatestGroupsFirstVersion) {
    const std::string settings =
        "<UpDownGradeSetting xmlns=\"urn:varentis:qmv-vlt:profile\"><VLTVersion>"
        "<G1><VerSpan startVer=\"5E.00.00\" endVer=\"5E.05.00\"/></G1>"
        "<G3><FirmwareVer version=\"0A.05.03\"/></G3></VLTVersion>"
        "<CodePlugSetting><G1><RegionCommon/></G1></CodePlugSetting></UpDownGradeSetting>";
    const CUpDownGradeSetting upDown(ParseXmlSafely(settings));
    CRadioDataModel model(CModelEnvironment{TestInstallFolder(), &upDown, "LACR"});
    ASSERT_TRUE(model.LoadProfile(OlderProfile(1), false));
    ASSERT_EQ(model.GetModelGroup(), 1);
    model.TakeOffDoc(true);
    model.UpgradeToLatestVersion();
    const xmlNode* version = CXPath(model.GetRawProfileDoc()).SelectFirst("//dfns:version");
    EXPECT_EQ(GetAttribute(version, "firmware_release"), "10");
    EXPECT_EQ(GetAttribute(version, "firmware_version"), "05");
    EXPECT_EQ(GetAttribute(version, "firmware_revision"), "03");
    EXPECT_EQ(GetAttribute(version, "firmware_phase"), "R");
}

TEST_F(Document, ImageRoundTripKeepsEveryFieldInNameOrder) {
    const CVirtualCodeplug original = MakeFullImage();
    ASSERT_TRUE(m_doc.NewFromVirtualCP(original));
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(m_doc.Title(), "10000005");
    EXPECT_EQ(m_doc.ProposedSaveName(), fs::path("10000005.lam"));

    CVirtualCodeplug back;
    ASSERT_EQ(m_doc.GetVirtualCPData(back, u""), 1);

    // What a radio read gives: each kind sorted by name, texts by their text.
    CVirtualCodeplug expected = original;
    auto byName = [](const CContactRecord& a, const CContactRecord& b) {
        return CompareContactNames(a.name, b.name) < 0;
    };
    std::stable_sort(expected.contacts.begin(), expected.contacts.begin() + 20, byName);
    std::stable_sort(expected.contacts.begin() + 20, expected.contacts.begin() + 50, byName);
    std::stable_sort(expected.contacts.begin() + 50, expected.contacts.begin() + 150, byName);
    std::stable_sort(expected.texts.begin(), expected.texts.end(),
                     [](const std::u16string& a, const std::u16string& b) {
                         return CompareContactNames(a, b) < 0;
                     });
    for (std::size_t i = 0; i < kMaxContacts; ++i) {
        EXPECT_EQ(back.contacts[i], expected.contacts[i]) << i;
    }
    EXPECT_EQ(back.texts, expected.texts);
    EXPECT_EQ(back.version, expected.version);
    EXPECT_EQ(back.limits, expected.limits);
    EXPECT_EQ(back.settings, expected.settings);
}

TEST_F(Document, SavingNeverLeavesAHalfWrittenFile) {
    ASSERT_TRUE(m_doc.NewFromTemplate("QMV410"));
    // A target that cannot be replaced: the old entry stays, no temporary file is left.
    const fs::path dir = TempFile("blocked.lam");
    fs::create_directories(dir / "inside");
    EXPECT_FALSE(m_doc.Save(dir));
    EXPECT_TRUE(fs::is_directory(dir / "inside"));
    for (const auto& entry : fs::directory_iterator(dir.parent_path())) {
        EXPECT_EQ(entry.path().filename().string().find(".blocked.lam"), std::string::npos)
            << entry.path();
    }
    // A first save into a folder that does not exist leaves nothing behind.
    const fs::path missing = TempFile("no-such-folder") / "new.lam";
    EXPECT_FALSE(m_doc.Save(missing));
    EXPECT_FALSE(fs::exists(missing.parent_path()));
    EXPECT_EQ(m_ui.errors, (std::vector<int>{299, 299}));
    EXPECT_TRUE(m_doc.Path().empty());

    // Saving over an existing file replaces it whole.
    const fs::path file = TempFile("replace.lam");
    WriteFileBytes(file, "old contents");
    ASSERT_TRUE(m_doc.Save(file));
    EXPECT_EQ(ReadProfileText(file).utf8.find("old contents"), std::string::npos);
    EXPECT_EQ(m_doc.Path(), file);
}

TEST_F(Document, ARefusedFileLeavesTheOpenProfileAlone) {
    ASSERT_TRUE(m_doc.NewFromTemplate("QMV410"));
    const std::string before = m_doc.Model().ProfileText();
    const fs::path bad = TempFile("bad.lam");
    WriteFileBytes(bad, "<?xml version=\"1.0\"?><QMVProfile");
    CQMVVLTDoc other(m_app, TestInstallFolder(), m_ui);
    EXPECT_FALSE(other.Open(bad));
    EXPECT_EQ(m_ui.errors, (std::vector<int>{105}));
    EXPECT_EQ(m_doc.Model().ProfileText(), before);
}

TEST_F(Document, ARefusedImageLeavesTheOpenProfileAndItsEdits) {
    ASSERT_TRUE(m_doc.NewFromTemplate("QMV410"));
    SetAttribute(CXPath(m_doc.Model().GetProfileDoc()).SelectFirst("//dfns:setting"), "contrast",
                 "7");
    const std::string edited = m_doc.Model().ProfileText();
    CVirtualCodeplug refused = MakeFullImage();
    refused.limits.clone_compatibility_version = 12;  // a model the program does not support
    EXPECT_THROW(m_doc.SetVirtualCPData(refused), CQMVVLTException);
    EXPECT_EQ(m_doc.Model().ProfileText(), edited);
    EXPECT_TRUE(m_doc.Save(TempFile("kept-after-refused-read.lam"))) << m_ui.lastDetail;
}

// Whatever a radio holds loads, and converts back to the same image.
TEST_F(Document, EveryImageARadioCanHoldLoadsAndConvertsBack) {
    const std::u16string controls =
        u"a\tb\nc\rd\x01"
        u"e\x1F";
    auto hasContact = [](const CVirtualCodeplug& i, auto match) {
        return std::any_of(i.contacts.begin(), i.contacts.end(), match);
    };
    struct Case {
        const char* what;
        std::function<void(CVirtualCodeplug&)> edit;
        std::function<bool(const CVirtualCodeplug&)> holds;
    };
    const Case cases[] = {
        {"control characters in a name",
         [&](CVirtualCodeplug& i) { i.contacts[60].name = controls; },
         [&](const CVirtualCodeplug& i) {
             return hasContact(i, [&](const CContactRecord& r) { return r.name == controls; });
         }},
        {"control character as firmware phase",
         [](CVirtualCodeplug& i) { i.version.firmware_phase = 0x01; },
         [](const CVirtualCodeplug& i) { return i.version.firmware_phase == 0x01; }},
        {"placeholder as the radio's own PID",
         [](CVirtualCodeplug& i) { i.limits.pid = u"XXXXXXXXXXX"; },
         [](const CVirtualCodeplug& i) { return i.limits.pid == u"XXXXXXXXXXX"; }},
        {"letters in a contact's PID", [](CVirtualCodeplug& i) { i.contacts[60].pid = u"12AB"; },
         [&](const CVirtualCodeplug& i) {
             return hasContact(i, [](const CContactRecord& r) { return r.pid == u"12AB"; });
         }},
        {"empty contact PID", [](CVirtualCodeplug& i) { i.contacts[60].pid.clear(); },
         [&](const CVirtualCodeplug& i) {
             return hasContact(i, [](const CContactRecord& r) {
                 return r.cntct_type == kContactPrivate && r.pid.empty();
             });
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CVirtualCodeplug image = MakeFullImage();
        c.edit(image);
        CQMVVLTDoc doc(m_app, TestInstallFolder(), m_ui);
        ASSERT_TRUE(doc.NewFromVirtualCP(image)) << m_ui.lastDetail;
        CVirtualCodeplug back;
        ASSERT_EQ(doc.GetVirtualCPData(back, u""), 1);
        EXPECT_TRUE(c.holds(back));
    }
    // In the profile the controls XML cannot hold show as their pictures.
    CVirtualCodeplug image = MakeFullImage();
    image.contacts[60].name = controls;
    ASSERT_TRUE(m_doc.NewFromVirtualCP(image));
    EXPECT_NE(m_doc.Model().ProfileText().find("\xE2\x90\x81"), std::string::npos);
}

TEST_F(Document, ProposedSaveNameIsNeverAHiddenFile) {
    ASSERT_TRUE(m_doc.NewFromTemplate("QMV410 M"));
    EXPECT_EQ(m_doc.ProposedSaveName(), fs::path("QMV410 M.lam"));
    CVirtualCodeplug image = MakeFullImage();
    image.limits.pid.clear();
    ASSERT_TRUE(m_doc.NewFromVirtualCP(image)) << m_ui.lastDetail;
    EXPECT_EQ(m_doc.ProposedSaveName(), fs::path("Profile.lam"));
}

TEST_F(Document, ModifiedCallbackFollowsEveryChangeOfTheFlag) {
    std::vector<bool> calls;
    m_doc.SetModifiedCallback([&](bool modified) { calls.push_back(modified); });
    ASSERT_TRUE(m_doc.NewFromTemplate("QMV410"));  // stays unmodified: no call
    m_doc.SetModified(true);
    m_doc.SetModified(true);
    ASSERT_TRUE(m_doc.Save(TempFile("callback.lam")));
    ASSERT_TRUE(m_doc.NewFromVirtualCP(MakeFullImage()));
    EXPECT_EQ(calls, (std::vector<bool>{true, false, true}));
}
