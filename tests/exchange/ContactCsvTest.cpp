#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "CContactCsvImporter.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "ContactCsv.h"
#include "FullProfile.h"
#include "MessageId.h"
#include "ProfileDiff.h"
#include "TestAppSettings.h"

namespace {

namespace fs = std::filesystem;

class ContactCsvTest : public testing::Test {
  protected:
    std::unique_ptr<CQMVVLTDoc> FromImage(const CVirtualCodeplug& image) {
        auto doc = std::make_unique<CQMVVLTDoc>(m_app, TestInstallFolder(), m_ui);
        EXPECT_TRUE(doc->NewFromVirtualCP(image));
        return doc;
    }
    std::unique_ptr<CQMVVLTDoc> Sample() {
        auto doc = std::make_unique<CQMVVLTDoc>(m_app, TestInstallFolder(), m_ui);
        EXPECT_TRUE(doc->ImportXml(fs::path(QMVVLT_SOURCE_DATA_DIR) / "samples/SampleProfile.xml"));
        return doc;
    }

    // The full image without contacts, with csv imported into it: every row is taken and the
    // contacts equal those of full.
    std::unique_ptr<CQMVVLTDoc> ImportRecreates(const CQMVVLTDoc& full, const std::string& csv);

    CAppSettings m_app = TestAppSettings();
    CNoQuestionsUi m_ui;
};

// The full image with its memberships and home groups on the members' channels, so every contact
// keeps the rules.
CVirtualCodeplug ConsistentFullImage() {
    CVirtualCodeplug image = MakeFullImage();
    for (CContactRecord& c : image.contacts) {
        if (c.cntct_type == kContactPrivateGroup || !c.parent_groups[0].empty()) {
            c.channel = 1;
        }
    }
    return image;
}

xmlNode* ContactNamed(const CQMVVLTDoc& doc, const std::string& name) {
    return CXPath(doc.Model().GetProfileDoc())
        .SelectFirst("//dfns:Contacts/dfns:*/dfns:*[@name='" + name + "']");
}

std::optional<fs::path> OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const std::string_view dir = rest.substr(0, rest.find(':'));
        rest.remove_prefix(std::min(rest.size(), dir.size() + 1));
        const fs::path candidate = fs::path(dir) / program;
        if (!dir.empty() && fs::exists(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::vector<std::pair<int, int>> Refusals(const CsvImportResult& result) {
    std::vector<std::pair<int, int>> out;
    for (const CsvRefusal& r : result.refused) {
        out.emplace_back(r.line, r.messageId);
    }
    return out;
}

}  // namespace

std::unique_ptr<CQMVVLTDoc> ContactCsvTest::ImportRecreates(const CQMVVLTDoc& full,
                                                            const std::string& csv) {
    CVirtualCodeplug empty = ConsistentFullImage();
    for (CContactRecord& c : empty.contacts) {
        c = CContactRecord{};
    }
    auto target = FromImage(empty);
    const CsvImportResult result = CContactCsvImporter(target->Model()).Import(csv);
    for (const CsvRefusal& r : result.refused) {
        ADD_FAILURE() << FormatRefusal(r);
    }
    EXPECT_EQ(result.added, 150);
    const auto diffs = DiffProfiles(full.Model().GetProfileDoc(), target->Model().GetProfileDoc());
    EXPECT_THAT(FormatProfileDifferences(diffs), testing::IsEmpty());
    return target;
}

TEST_F(ContactCsvTest, FullProfileRoundTrip) {
    const auto full = FromImage(ConsistentFullImage());
    const std::string csv = ExportContactsCsv(full->Model());

    const auto target = ImportRecreates(*full, csv);
    EXPECT_EQ(ExportContactsCsv(target->Model()), csv);

    // One contact more than the radio holds.
    const CsvImportResult more = CContactCsvImporter(target->Model())
                                     .Import("type,name,id\r\nprivate,One More,10009999\r\n");
    EXPECT_THAT(Refusals(more), testing::ElementsAre(std::pair(2, MessageId::kCsvNoRoom)));
    EXPECT_EQ(ContactNamed(*target, "One More"), nullptr);
}

TEST_F(ContactCsvTest, ImportingTheOwnExportChangesNothing) {
    const auto doc = Sample();
    const std::string before = doc->Model().ProfileText();
    const CsvImportResult result =
        CContactCsvImporter(doc->Model()).Import(ExportContactsCsv(doc->Model()));
    EXPECT_THAT(Refusals(result), testing::IsEmpty());
    EXPECT_EQ(result.updated, 9);
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(doc->Model().ProfileText(), before);
}

TEST_F(ContactCsvTest, RefusedRowsAreReportedByLineAndTheRestStays) {
    const auto doc = Sample();
    const std::string csv =
        "type,name,id,channel,home_group,group_1,ringer\n"
        "private,Zed,10000300,1,Day Shift,Day Shift,3\n"  // 2: accepted
        "private,ZED,10000301,1,,,\n"                     // 3: the same name again
        "private,Far,99999999999,1,,,\n"                  // 4: PID beyond the radio's range
        "private,Homeless,10000302,1,Nowhere,,\n"         // 5: no such home group
        "\"private\",\"Two\nLines\",10000303,1,,,\n"      // 6-7: a line end in a name
        "robot,Bot,,1,,,\n"                               // 8: no such type
        "public group,Fire,999,1,,,\n"                    // 9: no such public group number
        "private,Joiner,10000304,2,,Day Shift,\n"         // 10: a group of another channel
        "private,Loud,10000305,1,,,13\n"                  // 11: no such ringer
        "private,Moved,10000306,9,,,\n"                   // 12: no such channel
        "public group,Ana Lima,5,1,,,\n"                  // 13: a private's name
        "private,Kept,,2,,,\n"                            // 14: accepted, PID from the rules
        "private,Ana Lima,,4,,Nowhere,\n";                // 15: no such group; Ana stays as she was
    const int before = static_cast<int>(
        CXPath(doc->Model().GetProfileDoc()).SelectNodes("//dfns:Contacts/dfns:*/dfns:*").size());
    const CsvImportResult result = CContactCsvImporter(doc->Model()).Import(csv);
    EXPECT_THAT(
        Refusals(result),
        testing::ElementsAre(
            std::pair(3, MessageId::kSimilarName), std::pair(4, 30101),
            std::pair(5, MessageId::kCsvUnknownGroup), std::pair(6, 218),
            std::pair(8, MessageId::kCsvUnknownType), std::pair(9, MessageId::kNotAPublicGroupId),
            std::pair(10, MessageId::kCsvGroupChannel), std::pair(11, MessageId::kCsvBadValue),
            std::pair(12, MessageId::kNoSuchChannel), std::pair(13, MessageId::kSimilarName),
            std::pair(15, MessageId::kCsvUnknownGroup)));
    EXPECT_EQ(result.added, 2);
    EXPECT_EQ(static_cast<int>(CXPath(doc->Model().GetProfileDoc())
                                   .SelectNodes("//dfns:Contacts/dfns:*/dfns:*")
                                   .size()),
              before + 2);
    xmlNode* zed = ContactNamed(*doc, "Zed");
    ASSERT_NE(zed, nullptr);
    EXPECT_EQ(GetAttribute(zed, "pid"), "10000300");
    EXPECT_EQ(GetAttribute(zed, "home_grp"), "10001000");
    EXPECT_EQ(GetAttribute(zed, "alert_tone"), "3");
    EXPECT_EQ(CXPath(zed->doc).SelectNodes("dfns:ParentPrivateGroups/dfns:*", zed).size(), 1u);
    ASSERT_NE(ContactNamed(*doc, "Kept"), nullptr);
    EXPECT_EQ(ContactNamed(*doc, "Homeless"), nullptr);
    xmlNode* ana = ContactNamed(*doc, "Ana Lima");
    EXPECT_EQ(GetAttribute(ana, "cntct_type"), "0");
    EXPECT_EQ(GetAttribute(ana, "channel"), "1");
    EXPECT_EQ(GetAttribute(ana, "home_grp"), "10001000");
    EXPECT_EQ(CXPath(ana->doc).SelectNodes("dfns:ParentPrivateGroups/dfns:*", ana).size(), 1u);
}

TEST_F(ContactCsvTest, UpdatesTheContactOfTheSameName) {
    const auto doc = Sample();
    const CsvImportResult result =
        CContactCsvImporter(doc->Model())
            .Import("Type;Name;Channel;Scroll_List\r\npublic group;DISPATCH;5;0\r\n");
    EXPECT_THAT(Refusals(result), testing::IsEmpty());
    EXPECT_EQ(result.updated, 1);
    xmlNode* group = ContactNamed(*doc, "DISPATCH");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(GetAttribute(group, "channel"), "5");
    EXPECT_EQ(GetAttribute(group, "in_scroll_list"), "0");
    EXPECT_EQ(GetAttribute(group, "pid"), "17179869183");
}

TEST_F(ContactCsvTest, TextThatIsNotContactsCsvChangesNothing) {
    const auto doc = Sample();
    const std::string before = doc->Model().ProfileText();
    for (const std::string& bytes :
         {std::string(), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
          std::string("name,channel\nX,1\n"), std::string("type,name\nprivate,\"open\n"),
          std::string("type,name\nprivate,Zed\nprivate,a\"b\n")}) {
        try {
            CContactCsvImporter(doc->Model()).Import(bytes);
            ADD_FAILURE() << "accepted: " << bytes;
        } catch (const CQMVVLTException& e) {
            EXPECT_EQ(e.Code(), MessageId::kNotContactsCsv) << bytes;
        }
        EXPECT_EQ(doc->Model().ProfileText(), before) << bytes;
    }
}

// A spreadsheet program that opens the export as UTF-8, saves it as a workbook and that again as
// CSV keeps every contact: the byte-order mark does not end up in the first column's name, and
// names with quotes, marks and accents and eleven-digit PIDs come back as they were.
TEST_F(ContactCsvTest, SpreadsheetProgramKeepsTheExportWhole) {
    const auto soffice = OnPath("soffice");
    if (!soffice) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    std::string pattern = fs::temp_directory_path() / "qmvvlt-soffice-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;
    const auto full = FromImage(ConsistentFullImage());
    std::ofstream(dir / "contacts.csv", std::ios::binary) << ExportContactsCsv(full->Model());
    // Its own settings folder, so that no running office or earlier run is involved.
    const std::string office = "timeout 600 '" + soffice->string() +
                               "' --headless --norestore '-env:UserInstallation=file://" +
                               (dir / "office").string() + "' ";
    const std::string utf8 = "Text - txt - csv (StarCalc):44,34,76";
    const std::string toWorkbook = office + "'--infilter=" + utf8 +
                                   "' --convert-to xlsx --outdir '" + (dir / "xlsx").string() +
                                   "' '" + (dir / "contacts.csv").string() + "' >/dev/null 2>&1";
    const std::string toCsv = office + "--convert-to 'csv:" + utf8 + "' --outdir '" +
                              (dir / "csv").string() + "' '" +
                              (dir / "xlsx/contacts.xlsx").string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(toWorkbook.c_str()), 0);
    ASSERT_EQ(std::system(toCsv.c_str()), 0);
    std::ifstream in(dir / "csv/contacts.csv", std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove_all(dir);
    // Saved without a mark: had the mark been read as text, the first name would still hold it.
    EXPECT_TRUE(saved.starts_with("type,name,")) << saved.substr(0, 20);
    ImportRecreates(*full, saved);
}
