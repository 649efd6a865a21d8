#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CDataAdaptor.h"
#include "CQMVVLTException.h"
#include "CReportProfile.h"
#include "FullProfile.h"
#include "ReportBuilders.h"
#include "ReportHtml.h"
#include "ReportPage.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::string kSample =
    ReadFile(fs::path(QMVVLT_SOURCE_DATA_DIR) / "samples/SampleProfile.xml");
const char* const kTemplate =
    "<h1>REPORT_TITLE</h1><img src=\"MODEL_PIC.jpg\">\n"
    "<!-- report content begin -->\n</body>";

// Compares a whole page with its golden file; QMVVLT_UPDATE_GOLDEN=1 rewrites the file instead.
void ExpectGolden(const std::string& page, const std::string& name) {
    const fs::path golden = fs::path(QMVVLT_TEST_DATA_DIR) / "reports" / name;
    if (std::getenv("QMVVLT_UPDATE_GOLDEN")) {
        std::ofstream(golden, std::ios::binary) << page;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden;
    EXPECT_EQ(page, ReadFile(golden)) << "differs from " << golden;
}

ReportContext Context(int group = 3) {
    ReportContext context;
    context.modelGroup = group;
    context.dealer = DealerTexts{.dealerInfo = "Radio Shop Ltd\nMain St. 1",
                                 .contactInfo = "Call 555 & ask for \"Sam\"",
                                 .dealerNotes = ""};
    XmlDocPtr doc = ParseXmlSafely(kSample);
    context.banks = LoadPublicGroupRanges(CXPath(doc.get()).SelectFirst("//dfns:limit"));
    return context;
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

std::string RadioPage(const std::string& profile, const ReportContext& context) {
    XmlDocPtr doc = CDataAdaptor::CopyPrvtScrlLst(profile, u"10000005");
    return FillReportTemplate(kTemplate, BuildRadioReport(doc.get(), context));
}

}  // namespace

TEST(Reports, WholePagesOfTheSampleProfile) {
    ExpectGolden(RadioPage(kSample, Context()), "radio_sample.html");
    XmlDocPtr doc = ParseXmlSafely(kSample);
    ExpectGolden(FillReportTemplate(kTemplate, BuildOverviewReport(doc.get(), Context())),
                 "overview_sample.html");
}

TEST(Reports, NamesAndTextsAreEscaped) {
    const std::string profile =
        Replace(kSample, "name=\"Ana Lima\"", "name=\"Tom &amp; &quot;Jerry&quot; &lt;1&gt;\"");
    XmlDocPtr doc = ParseXmlSafely(profile);
    const std::string page = BuildOverviewReport(doc.get(), Context()).html;
    EXPECT_NE(page.find(">Tom&nbsp;&amp;&nbsp;&quot;Jerry&quot;&nbsp;&lt;1&gt;</td>"),
              std::string::npos);
    EXPECT_EQ(page.find("Tom &"), std::string::npos);
    // Dealer texts keep their blanks and break lines with <BR>.
    EXPECT_NE(page.find("Radio Shop Ltd<BR>Main St. 1"), std::string::npos);
    EXPECT_NE(page.find("Call 555 &amp; ask for &quot;Sam&quot;"), std::string::npos);
}

TEST(Reports, ModelCodesNamesAndPictures) {
    struct Case {
        const char* code;
        const char* name;
        const char* radioPicture;
        const char* overviewPicture;
    };
    const Case cases[] = {
        {"Q410", "QMV410", "Q410", "Q410"},
        {"Q411", "QMV410 M", "Q410", "Q410"},
        {"Q421S", "QMV421S", "Q421S", "Q420S"},
    };
    for (const Case& c : cases) {
        const std::string profile =
            Replace(kSample, "model=\"Q410\"", std::string("model=\"") + c.code + "\"");
        XmlDocPtr doc = CDataAdaptor::CopyPrvtScrlLst(profile, u"10000005");
        const ReportContent radio = BuildRadioReport(doc.get(), Context());
        EXPECT_EQ(ModelName(c.code), c.name);
        EXPECT_EQ(radio.pictureCode, c.radioPicture);
        EXPECT_EQ(radio.title,
                  std::string("Radio-Specific Report - Unit Private ID:10000005 Model:") + c.name);
        EXPECT_EQ(BuildOverviewReport(doc.get(), Context()).pictureCode, c.overviewPicture);
    }
}

TEST(Reports, RadioReportSectionsFollowTheProfile) {
    // An empty home group shows "None".
    std::string profile = Replace(
        kSample, "home_grp=\"10001001\" show_grp_only=\"0\" id_in_use=\"1\" see_all_groups=\"1\"",
        "home_grp=\"\" show_grp_only=\"0\" id_in_use=\"1\" see_all_groups=\"1\"");
    std::string page = RadioPage(profile, Context());
    EXPECT_NE(page.find(ReportHtml::LabelValue("Home Group", "None")), std::string::npos);

    // The radio's private scroll list is shown as its scroll list.
    page = RadioPage(kSample, Context());
    const auto scroll = page.find("Scroll&nbsp;List&nbsp;(private)");
    ASSERT_NE(scroll, std::string::npos);
    const std::string section = page.substr(scroll, page.find("<HR", scroll) - scroll);
    EXPECT_NE(section.find(ReportHtml::SingleItem("Security")), std::string::npos);
    EXPECT_NE(section.find(ReportHtml::SingleItem("Night Shift")), std::string::npos);
    EXPECT_EQ(section.find("Dispatch"), std::string::npos);

    // Group 1 profiles have only the global list and no private scroll list row.
    page = RadioPage(kSample, Context(1));
    EXPECT_NE(page.find(ReportHtml::SectionTitle("Scroll List")), std::string::npos);
    EXPECT_EQ(page.find("Private&nbsp;Scroll&nbsp;List"), std::string::npos);

    // No dealer texts (or only blanks): no dealer section.
    ReportContext blank = Context();
    blank.dealer = DealerTexts{.dealerInfo = " ", .contactInfo = "\r\n", .dealerNotes = ""};
    EXPECT_EQ(RadioPage(kSample, blank).find("Dealer"), std::string::npos);
}

TEST(Reports, RadioReportOnlyForAProfileOfItsOwnRadio) {
    XmlDocPtr doc = ParseXmlSafely(kSample);
    EXPECT_TRUE(IsRadioReportAvailable(doc.get()));
    XmlDocPtr other =
        ParseXmlSafely(Replace(kSample, "limit pid=\"10000005\"", "limit pid=\"10000099\""));
    EXPECT_FALSE(IsRadioReportAvailable(other.get()));
    XmlDocPtr empty = ParseXmlSafely(Replace(kSample, "limit pid=\"10000005\"", "limit pid=\"\""));
    EXPECT_FALSE(IsRadioReportAvailable(empty.get()));
}

// The data folder is read-only once installed: pages and the pictures they name go to the
// user's cache folder, whether or not the data folder could be written.
TEST(Reports, PagesGoWithTheirPicturesToTheCacheFolderOnly) {
    const fs::path root =
        fs::temp_directory_path() / ("qmvvlt-report-" + std::to_string(::getpid()));
    const fs::path reportFolder = root / "Report";
    const fs::path cache = root / "cache";
    fs::create_directories(reportFolder);
    std::ofstream(reportFolder / "Q410.jpg") << "jpeg";
    std::ofstream(reportFolder / "notes.txt") << "text";

    const std::string page = "<p>Zo\xC3\xAB</p>";
    EXPECT_EQ(SaveReport(reportFolder, "SpecReport.htm", page, cache), cache / "SpecReport.htm");
    EXPECT_EQ(ReadFile(cache / "SpecReport.htm"),
              std::string("\xFF\xFE<\0p\0>\0Z\0o\0\xEB\0<\0/\0p\0>\0", 22));
    EXPECT_EQ(ReadFile(cache / "Q410.jpg"), "jpeg");
    EXPECT_FALSE(fs::exists(cache / "notes.txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(reportFolder), fs::directory_iterator()), 2);

    // A data folder without its pictures still gives the page.
    EXPECT_EQ(SaveReport(root / "missing", "OverviewReport.htm", page, cache),
              cache / "OverviewReport.htm");
    std::ofstream(root / "blocker") << "a file where a folder should be";
    EXPECT_THROW(SaveReport(reportFolder, "x.htm", page, root / "blocker" / "cache"),
                 CQMVVLTException);
    EXPECT_FALSE(fs::exists(reportFolder / "x.htm"));
    fs::remove_all(root);
}

TEST(Reports, TemplatesAreReadAsCodePageTextUnlessTheyAreUtf8) {
    const fs::path file = fs::path(::testing::TempDir()) / "ReportTemplateEncoding.tpl";
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"Caf\xE9 \x80 <b>", "Caf\u00e9 \u20ac <b>"},      // code page 1252
        {"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\u00e9 \u20ac"},  // UTF-8 stays as it is
    };
    for (const auto& c : cases) {
        std::ofstream(file, std::ios::binary) << c.bytes;
        EXPECT_EQ(LoadReportTemplate(file), c.text);
    }
    fs::remove(file);
}

TEST(Reports, MissingTemplateRaises101) {
    try {
        LoadReportTemplate("/nonexistent/SpecReport.tpl");
        FAIL();
    } catch (const CQMVVLTException& e) {
        EXPECT_EQ(e.Code(), 101);
        EXPECT_EQ(e.Message(), "Open template file failed");
    }
}
