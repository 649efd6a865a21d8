#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "StringTable.h"

TEST(StringTable, PlaceholderFormatting) {
    struct Case {
        const char* fmt;
        std::initializer_list<std::string_view> args;
        const char* expected;
    };
    const Case cases[] = {
        {"Channel %d", {"3"}, "Channel 3"},
        {"Error: Operation Failed (%s).",
         {"User Canceled"},
         "Error: Operation Failed (User Canceled)."},
        {"%lu of %d%%", {"7", "9"}, "7 of 9%"},
        {"missing %s", {}, "missing "},
        {"trailing %", {}, "trailing %"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatPlaceholders(c.fmt, c.args), c.expected) << c.fmt;
    }
}

// The language file checker compares these lists, so they must be exactly what gets filled.
TEST(StringTable, PlaceholdersOfListsWhatFormattingFills) {
    const struct {
        const char* fmt;
        std::vector<std::string> expected;
    } cases[] = {
        {"Channel %d (%d)", {"%d", "%d"}},
        {"%lu of %s%%", {"%lu", "%s"}},
        {"100%% sure, %q is no conversion", {}},
        {"trailing %", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceholdersOf(c.fmt), c.expected) << c.fmt;
    }
}

TEST(StringTable, EnglishIdsAreSortedUniqueAndLoaded) {
    ASSERT_GT(kEnglishStringCount, 0u);
    for (std::size_t i = 0; i < kEnglishStringCount; ++i) {
        ASSERT_NE(kEnglishStrings[i].text, nullptr) << kEnglishStrings[i].id;
        EXPECT_GT(kEnglishStrings[i].id, 0);
        if (i > 0) {
            EXPECT_LT(kEnglishStrings[i - 1].id, kEnglishStrings[i].id)
                << "out of order or duplicated after " << kEnglishStrings[i - 1].id;
        }
        EXPECT_EQ(CStringTable::Instance().Text(kEnglishStrings[i].id), kEnglishStrings[i].text);
    }
    EXPECT_FALSE(CStringTable::Instance().Has(1));
    EXPECT_EQ(CStringTable::Instance().Text(1), "");
}

// A stray '%' or an unsupported conversion would print garbage once formatted.
TEST(StringTable, EnglishPlaceholdersAreSupportedConversions) {
    const std::set<std::string> supported = {"%s", "%d", "%u", "%lu", "%ld", "%x", "%%"};
    for (std::size_t i = 0; i < kEnglishStringCount; ++i) {
        const std::string text = kEnglishStrings[i].text;
        for (std::size_t p = text.find('%'); p != std::string::npos; p = text.find('%', p)) {
            const std::string two = text.substr(p, 2);
            const std::string three = text.substr(p, 3);
            if (supported.count(three) != 0) {
                p += 3;
            } else {
                EXPECT_EQ(supported.count(two), 1u)
                    << "entry " << kEnglishStrings[i].id << ": " << text;
                p += 2;
            }
        }
    }
}

TEST(StringTable, EnglishTextsAreTranscribedExactly) {
    struct Case {
        int id;
        const char* text;
    };
    const Case cases[] = {
        {102, "Fatal error.\nPlease uninstall and re-install QMV VLT."},
        {137,
         "Changing this Private contact's channel will remove it from all of its Private Groups "
         "and any Private "
         "Groups with no member will be deleted.  Also, this contact's Home Group field will be "
         "cleared. Do you "
         "want to continue?"},
        {222, "Some files needed by VLT are not available.\nPlease reinstall VLT."},
        {226, "&New\tCtrl+N"},
        {260, "&Content and Index...\tF1"},
        {261, "&About %s..."},
        {267, "(add with scanner)"},
        {297,
         "The opened profile is not the latest format. Do you want convert it to the latest "
         "format?\n(You can't "
         "convert it back to the original format once you select yes.)"},
        {306,
         "If your radio uses channel 5, 6, or 7, this software will automatically remap all your "
         "contacts, public "
         "groups and private groups in channels 5, 6 and 7 into channels 2, 3 and 4, and channels "
         "5, 6 and 7 will "
         "be deleted from the radio codeplug. This software will NOT automatically remap public "
         "groups to the Scan "
         "List due to Scan List limitation.\nContinue YES or NO?"},
        {10007, "Can not read the registry entry of "},
        {10100, " (%d Group(s) Left)"},
        {10134,
         "Error: Unable to establish a connection with the radio.\n          Please check your "
         "connection and try "
         "again."},
        {10157,
         "Error: Unable to establish a connection with the radio. Please check your connection and "
         "try again."},
        {10161,
         "The following field(s) have been incorrectly specified:\n\n%s\nBy continuing, this "
         "contact will be "
         "deleted. Do you want to continue?    "},
        {10162, "- (Name)\n"},
        {174,
         "Note: Contacts added to the Manager Mode list are automatically added to the See All "
         "Groups list."},
        {20003, "Error: Convert cordinate."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CStringTable::Instance().Text(c.id), c.text) << "entry " << c.id;
    }
}

// Every message the radio link can end with must exist, or the user would see an empty box.
TEST(StringTable, EveryRadioResultMessageExists) {
    const int ids[] = {250,   262,   303,   304,   305,   306,   10030, 10031, 10032, 10127, 10128,
                       10129, 10130, 10131, 10132, 10133, 10134, 10145, 10146, 10147, 10148, 10149,
                       10150, 10151, 10152, 10153, 10154, 10155, 10156, 10157, 10158, 10159, 10160};
    for (int id : ids) {
        EXPECT_FALSE(CStringTable::Instance().Text(id).empty()) << "entry " << id;
    }
}

TEST(StringTable, FormatsRealEntries) {
    const CStringTable& table = CStringTable::Instance();
    EXPECT_EQ(table.Format(10146, {table.Text(10151)}), "Error: Operation Failed (User Canceled).");
    EXPECT_EQ(table.Format(10147, {"-17"}), "Error: Operation Failed (-17).");
    EXPECT_EQ(table.Format(116, {"3"}), "Channel 3");
    EXPECT_EQ(table.Format(162, {"2", "10"}), "Channel 2 (10)");
    EXPECT_EQ(table.Format(133, {"2", "4"}),
              "Changing the channel will remove this public group from channel 2's scan list and "
              "add it to "
              "channel 4's scan list. Do you want to continue?");
    EXPECT_EQ(table.Format(10161, {table.Text(10162) + table.Text(10163)}),
              "The following field(s) have been incorrectly specified:\n\n- (Name)\n- (ID)\n\nBy "
              "continuing, this "
              "contact will be deleted. Do you want to continue?    ");
}

namespace {

class StringTableLanguageFile : public ::testing::Test {
  protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        m_path =
            std::filesystem::temp_directory_path() /
            ("strtab_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".lang");
    }
    void TearDown() override {
        CStringTable::Instance().ResetToEnglish();
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    void Write(const std::string& content) {
        std::ofstream out(m_path, std::ios::binary);
        out << content;
    }
    std::filesystem::path m_path;
};

}  // namespace

TEST_F(StringTableLanguageFile, OverlaysNamedEntriesOnly) {
    Write(
        "# French\r\n"
        "10151\tAnnul\xC3\xA9 par l'utilisateur\r\n"
        "\n"
        "116\tCanal %d\n"
        "102\tErreur fatale.\\nVeuillez r\xC3\xA9installer.\\t\\\\\n");
    CStringTable& table = CStringTable::Instance();
    ASSERT_TRUE(table.LoadLanguageFile(m_path));

    EXPECT_EQ(table.Text(10151), "Annul\xC3\xA9 par l'utilisateur");
    EXPECT_EQ(table.Text(102), "Erreur fatale.\nVeuillez r\xC3\xA9installer.\t\\");
    EXPECT_EQ(table.Format(116, {"5"}), "Canal 5");
    EXPECT_EQ(table.Format(10146, {table.Text(10151)}),
              "Error: Operation Failed (Annul\xC3\xA9 par l'utilisateur).");
    EXPECT_EQ(table.Text(10148), "Invalid Opcode");

    table.ResetToEnglish();
    EXPECT_EQ(table.Text(10151), "User Canceled");
    EXPECT_EQ(table.Text(116), "Channel %d");
}

TEST_F(StringTableLanguageFile, MalformedFileChangesNothing) {
    const char* const bad[] = {
        "10151\tFirst line is fine\n116 Canal %d\n",         // no tab
        "10151\tFine\n\tno id\n",                            // empty id
        "10151\tFine\n11a\tletters in id\n",                 // id not a number
        "10151\tFine\n116\tbad escape \\q\n",                // unknown escape
        "10151\tFine\n116\ttrailing backslash \\\n",         // escape cut off
        "10151\tFine\n99999999999999999999\tid overflow\n",  // id out of range
        "10151\tFine\n116\tCanal \xC3(\n",                   // not UTF-8
    };
    CStringTable& table = CStringTable::Instance();
    for (const char* content : bad) {
        Write(content);
        EXPECT_FALSE(table.LoadLanguageFile(m_path)) << content;
        EXPECT_EQ(table.Text(10151), "User Canceled") << content;
        EXPECT_EQ(table.Text(116), "Channel %d") << content;
    }
    EXPECT_FALSE(table.LoadLanguageFile(m_path.string() + ".missing"));
    EXPECT_EQ(table.Text(10151), "User Canceled");
}

// Message numbers that are not names from the list: the rule file's message constants and any
// number the code passes straight to a lookup or an exception. Each must have an English text, or
// the user would see an empty message box.
TEST(StringTable, EveryMessageNumberUsedOutsideTheListHasEnglishText) {
    namespace fs = std::filesystem;
    const fs::path root = QMVVLT_SOURCE_DIR;
    const struct {
        fs::path folder;
        std::regex use;
    } sources[] = {
        {root / "data", std::regex(R"(local MSG_\w+ = (\d+))")},
        {root / "src", std::regex(R"((?:LoadString|Format|CQMVVLTException)\(\s*(\d{3,5})\b)")},
        {root / "tools", std::regex(R"((?:LoadString|Format|CQMVVLTException)\(\s*(\d{3,5})\b)")},
    };
    int found = 0;
    for (const auto& source : sources) {
        for (const auto& entry : fs::recursive_directory_iterator(source.folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".lua" && ext != ".cpp" && ext != ".h") {
                continue;
            }
            std::ifstream in(entry.path());
            const std::string text((std::istreambuf_iterator<char>(in)), {});
            for (std::sregex_iterator m(text.begin(), text.end(), source.use), end; m != end; ++m) {
                ++found;
                EXPECT_TRUE(CStringTable::Instance().Has(std::stoi((*m)[1])))
                    << entry.path() << " uses " << (*m)[1] << ", which has no English text";
            }
        }
    }
    EXPECT_GT(found, 0) << "the scan found no message numbers at all";
}
