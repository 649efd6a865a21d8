#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CUnitList.h"
#include "CUnitProfile.h"
#include "MessageId.h"
#include "StringTable.h"
#include "TestAppSettings.h"

namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Pair;

// The sample profile: languages 0, 4 and 5, volume levels up to 8, no password.
class UnitListTest : public testing::Test {
  protected:
    UnitListTest() : m_app(TestAppSettings()), m_doc(m_app, TestInstallFolder(), m_ui) {
        EXPECT_TRUE(
            m_doc.ImportXml(fs::path(QMVVLT_SOURCE_DATA_DIR) / "samples/SampleProfile.xml"));
        m_profile = std::make_unique<CUnitProfile>(m_app.ModelEnvironment(TestInstallFolder()),
                                                   m_doc.TakeSnapshot());
    }

    std::vector<std::pair<int, int>> Refusals(const CUnitList& list) const {
        std::vector<std::pair<int, int>> out;
        for (const CsvRefusal& r : list.Refusals()) {
            out.emplace_back(r.line, r.messageId);
        }
        return out;
    }

    CAppSettings m_app;
    CNoQuestionsUi m_ui;
    CQMVVLTDoc m_doc;
    std::unique_ptr<CUnitProfile> m_profile;
};

}  // namespace

TEST_F(UnitListTest, ReadsRowsWithTheirSettings) {
    const struct {
        const char* name;
        std::string csv;
    } cases[] = {
        {"plain",
         "pid,unit,password,language,ringer_vol_level\n"
         "10000042,Truck 1,1234,4,7\n"
         "10000043,Truck 2,,,\n"},
        {"spreadsheet",
         "\xEF\xBB\xBF PID ;Unit;Password;LANGUAGE;ringer_vol_level;;\r\n"
         "10000042; Truck 1 ;1234;4;7;;\r\n"
         "\r\n"
         "10000043;Truck 2;;;;;\r\n"},
    };
    for (const auto& c : cases) {
        const CUnitList list = CUnitList::Read(c.csv, *m_profile);
        EXPECT_THAT(Refusals(list), IsEmpty()) << c.name;
        ASSERT_EQ(list.Units().size(), 2u) << c.name;
        const CUnit* truck = list.Find("10000042");
        ASSERT_NE(truck, nullptr) << c.name;
        EXPECT_EQ(truck->label, "Truck 1");
        EXPECT_THAT(truck->overrides, ElementsAre(Pair("password", "1234"), Pair("language", "4"),
                                                  Pair("ringer_vol_level", "7")))
            << c.name;
        EXPECT_EQ(truck->OverridesText(),
                  R"({"language":"4","password":"1234","ringer_vol_level":"7"})");
        EXPECT_THAT(list.Find("10000043")->overrides, IsEmpty()) << c.name;
        EXPECT_EQ(list.Find("10000044"), nullptr);
    }
}

TEST_F(UnitListTest, RefusesRowsAndColumnsByLine) {
    const struct {
        const char* name;
        std::string csv;
        std::vector<std::pair<int, int>> refused;
        std::size_t accepted;
    } cases[] = {
        {"unknown and doubled columns",
         "pid,colour,language,Language\n10000042,red,4,4\n",
         {{1, MessageId::kUnitUnknownColumn}, {1, MessageId::kUnitDuplicateColumn}},
         1},
        {"PIDs",
         "pid\nabc\n123456789012\n17179869184\n\n17179869183\n10000042\n10000042\n",
         {{2, MessageId::kUnitBadValue},
          {3, MessageId::kUnitBadValue},
          {4, MessageId::kUnitBadValue},
          {8, MessageId::kUnitDuplicatePid}},
         2},
        {"the rule file",
         "pid,language,ringer_vol_level,speaker_vol_level,password\n"
         "10000042,3,,,\n"     // not one of the radio's languages
         "10000043,,9,,\n"     // above the radio's highest level
         "10000044,,,0,\n"     // the speaker cannot be off
         "10000045,,,,12a4\n"  // four digits
         "10000046,5,0,1,0000\n",
         {{2, MessageId::kUnitBadValue},
          {3, MessageId::kUnitBadValue},
          {4, MessageId::kUnitBadValue},
          {5, MessageId::kUnitBadValue}},
         1},
        {"the schema",
         "pid,contrast,noise_level_radio,time_format\n"
         "10000042,abc,,\n"
         "10000043,,16,\n"
         "10000044,,,2\n"
         "10000045,4,15,1\n",
         {{2, MessageId::kCsvBadValue}, {3, MessageId::kCsvBadValue}, {4, MessageId::kCsvBadValue}},
         1},
        {"the write check",
         "pid,call_forward_id\n10000042,12ab\n10000043,10000044\n",
         {{2, MessageId::kProfileCannotBeWritten}},
         1},
        {"a value under no column",
         "pid,unit\n10000042,Truck,spare\n10000043,Van,\n",
         {{2, MessageId::kUnitUnknownColumn}},
         1},
    };
    for (const auto& c : cases) {
        const CUnitList list = CUnitList::Read(c.csv, *m_profile);
        EXPECT_EQ(Refusals(list), c.refused) << c.name;
        EXPECT_EQ(list.Units().size(), c.accepted) << c.name;
        EXPECT_FALSE(list.Accepted()) << c.name;
    }
}

TEST_F(UnitListTest, RefusalsSayWhatAndWhy) {
    const CUnitList list =
        CUnitList::Read("pid,language\n10000042,3\n10000042,4\n12a,\n", *m_profile);
    ASSERT_EQ(list.Refusals().size(), 3u);
    EXPECT_EQ(FormatRefusal(list.Refusals()[0]),
              "Line 2: \"3\" is not a valid value for the column language: " +
                  LoadString(MessageId::kNoSuchLanguage));
    EXPECT_EQ(list.Refusals()[1].text, "The PID 10000042 is already listed on line 2.");
    EXPECT_EQ(list.Refusals()[2].text,
              "\"12a\" is not a valid value for the column pid: " + LoadString(MessageId::kBadPid));
}

TEST_F(UnitListTest, TextThatIsNoUnitListIsRefusedWhole) {
    for (const std::string& csv :
         {std::string(), std::string("unit,language\nTruck,4\n"), std::string("pid\n\"10000042\n"),
          std::string("pid\n1000\0"
                      "0042\n",
                      15)}) {
        try {
            CUnitList::Read(csv, *m_profile);
            ADD_FAILURE() << "read: " << csv;
        } catch (const CQMVVLTException& e) {
            EXPECT_EQ(e.Code(), MessageId::kNotUnitList) << csv;
        }
    }
}

TEST_F(UnitListTest, AUnitsSettingsGoToItsRadioOnly) {
    const std::string before = m_doc.Model().ProfileText();
    const CUnitList list = CUnitList::Read(
        "pid,unit,password,language,ringer_vol_level\n10000042,Truck 1,1234,4,7\n10000043,Van,,,\n",
        *m_profile);
    ASSERT_TRUE(list.Accepted());

    CVirtualCodeplug single;
    m_doc.GetVirtualCPData(single, u"10000042");
    m_profile->Apply(list.Find("10000043"));
    EXPECT_EQ(m_profile->Image(u"10000042"), single) << "no settings: the single-radio image";

    m_profile->Apply(list.Find("10000042"));
    CVirtualCodeplug truck = m_profile->Image(u"10000042");
    EXPECT_EQ(truck.settings.password, u"1234");
    EXPECT_EQ(truck.settings.language, 4);
    EXPECT_EQ(truck.settings.ringer_vol_level, 7);
    truck.settings.password = single.settings.password;
    truck.settings.language = single.settings.language;
    truck.settings.ringer_vol_level = single.settings.ringer_vol_level;
    EXPECT_EQ(truck, single) << "nothing else differs";

    m_profile->Apply(nullptr);
    EXPECT_EQ(m_profile->Image(u"10000042"), single);
    EXPECT_EQ(m_doc.Model().ProfileText(), before) << "the job's document is never touched";
}
