#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ConfigTestFolder.h"
#include "LanguageResources.h"
#include "StringTable.h"
#include "Utility.h"

namespace {

namespace fs = std::filesystem;

// A machine scope naming a language file and a help file for English and German, installed in
// the test folder; each case creates the files it needs.
class LanguageResourcesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string machine =
            "[Software\\Varentis Solutions\\QMV410 VLT]\nInstallPath=" + m_dir.Path().string() +
            "\nDefaultLanguage=English\n";
        for (const char* key : {"English", "German"}) {
            machine += std::string("[Software\\Varentis Solutions\\QMV410 VLT\\Language\\") + key +
                       "]\nHelpFileName=help/" + key + "/index.html\nGUIResource=lang/" + key +
                       ".txt\n";
        }
        ConfigTestFolder::Write(m_dir.Machine(), machine);
        ASSERT_TRUE(Utility::Bootstrap().ok);
    }
    void TearDown() override { CStringTable::Instance().ResetToEnglish(); }
    void Create(const std::string& relative, const std::string& text) {
        fs::create_directories((m_dir.Path() / relative).parent_path());
        ConfigTestFolder::Write(m_dir.Path() / relative, text);
    }
    ConfigTestFolder m_dir;
};

TEST_F(LanguageResourcesTest, LanguageTextsLoadOnlyForAnInstalledOtherLanguage) {
    const struct {
        const char* language;
        const char* file;  // content of lang/German.txt, or nullptr for none
        LanguageLoad expected;
        const char* cancelText;
    } cases[] = {
        {"English", "10151\tVom Benutzer abgebrochen\n", LanguageLoad::kBuiltIn, "User Canceled"},
        {"German", nullptr, LanguageLoad::kMissing, "User Canceled"},
        {"German", "10151 no tab\n", LanguageLoad::kMissing, "User Canceled"},
        {"German", "10151\tVom Benutzer abgebrochen\n", LanguageLoad::kLoaded,
         "Vom Benutzer abgebrochen"},
    };
    for (const auto& c : cases) {
        CStringTable::Instance().ResetToEnglish();
        fs::remove(m_dir.Path() / "lang/German.txt");
        if (c.file) {
            Create("lang/German.txt", c.file);
        }
        const std::string what = std::string(c.language) + " with " + (c.file ? c.file : "no file");
        ASSERT_TRUE(Utility::SetCurrentLanguage(c.language));
        EXPECT_EQ(LoadCurrentLanguageTexts(), c.expected) << what;
        EXPECT_EQ(LoadString(10151), c.cancelText) << what;
    }
}

TEST_F(LanguageResourcesTest, HelpFallsBackToEnglishOnlyWhereTheLanguageHasNone) {
    const fs::path english = m_dir.Path() / "help/English/index.html";
    const fs::path german = m_dir.Path() / "help/German/index.html";
    ASSERT_TRUE(Utility::SetCurrentLanguage("German"));
    EXPECT_EQ(HelpFileOrEnglish(), german.string()) << "neither written: the own path, to report";
    Create("help/English/index.html", "<html></html>");
    EXPECT_EQ(HelpFileOrEnglish(), english.string());
    Create("help/German/index.html", "<html></html>");
    EXPECT_EQ(HelpFileOrEnglish(), german.string());
}

}  // namespace
