#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>

#include "CAppSettings.h"
#include "CQMVVLTApp.h"
#include "CRegionSetting.h"
#include "ConfigTestFolder.h"
#include "LanguageMenu.h"
#include "MessageId.h"
#include "QtTranslation.h"
#include "ScriptedUi.h"
#include "StringTable.h"
#include "TestInstall.h"
#include "XmlDom.h"

namespace {

namespace fs = std::filesystem;

// A copy of the install folder that a test may break.
class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_install = m_config.Path() / "install";
        fs::copy(TestInstallFolder(), m_install, fs::copy_options::recursive);
        Utility::SetInstallPathOverride(m_install);
    }
    void TearDown() override { Utility::SetInstallPathOverride(std::nullopt); }

    ConfigTestFolder m_config;
    fs::path m_install;
    ScriptedUi m_ui;
};

TEST_F(StartupTest, BrokenInstallationStopsWithItsMessage) {
    const struct {
        const char* what;
        std::function<void(const fs::path&)> breakIt;
        int message;
    } cases[] = {
        {"missing settings document",
         [](const fs::path& dir) { fs::remove(dir / "lib/HelpPane.stv"); },
         MessageId::kFilesNotAvailable},
        {"wrong region",
         [](const fs::path& dir) {
             std::string text = ReadFileBytes(dir / "lib/Region.stv");
             text.replace(text.find("LACR"), 4, "FEMA");
             WriteFileBytes(dir / "lib/Region.stv", text);
         },
         MessageId::kFilesNotAvailable},
    };
    for (const auto& c : cases) {
        fs::remove_all(m_install);
        fs::copy(TestInstallFolder(), m_install, fs::copy_options::recursive);
        c.breakIt(m_install);
        m_ui.shown.clear();
        EXPECT_EQ(CQMVVLTApp::Start(m_ui), nullptr) << c.what;
        EXPECT_EQ(m_ui.shown, std::vector<std::string>{LoadString(c.message)}) << c.what;
    }
}

TEST_F(StartupTest, MissingLanguageFileStartsInEnglishAndSaysSoOnce) {
    ASSERT_TRUE(Utility::Bootstrap().ok);
    ASSERT_TRUE(Utility::SetCurrentLanguage("French"));
    EXPECT_NE(CQMVVLTApp::Start(m_ui), nullptr);
    EXPECT_EQ(m_ui.shown, std::vector<std::string>{LoadString(MessageId::kLanguageFileMissing)});
    EXPECT_EQ(Utility::GetCurrentLanguage(), "English");
    m_ui.shown.clear();
    EXPECT_NE(CQMVVLTApp::Start(m_ui), nullptr);
    EXPECT_TRUE(m_ui.shown.empty());
}

TEST_F(StartupTest, EachShippedLanguageStartsInItsOwnTexts) {
    fs::copy(fs::path(QMVVLT_SOURCE_DATA_DIR) / "lang", m_install / "lang");
    ASSERT_TRUE(Utility::Bootstrap().ok);
    const QString qtCancel = QStringLiteral("Cancel");
    for (const char* key :
         {"CaFrench", "French", "German", "LaPortuguese", "LaSpanish", "Spanish"}) {
        CStringTable::Instance().ResetToEnglish();
        ASSERT_TRUE(Utility::SetCurrentLanguage(key));
        m_ui.shown.clear();
        EXPECT_NE(CQMVVLTApp::Start(m_ui), nullptr) << key;
        EXPECT_TRUE(m_ui.shown.empty()) << key;
        EXPECT_EQ(Utility::GetCurrentLanguage(), key);
        const auto texts = ReadLanguageFile(m_install / "lang" / (std::string(key) + ".txt"));
        ASSERT_TRUE(texts) << key;
        for (int id : {MessageId::kFile, MessageId::kLanguageFileMissing}) {
            EXPECT_EQ(LoadString(id), texts->at(id)) << key << ' ' << id;
        }
        // Qt's own buttons follow, where the system has Qt's catalogue for the language.
        const QString catalogue = QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                                  QStringLiteral("/qtbase_") + QtTranslation::LocaleOf(key) +
                                  QStringLiteral(".qm");
        if (QFile::exists(catalogue)) {
            EXPECT_NE(QCoreApplication::translate("QPlatformTheme", "Cancel"), qtCancel) << key;
        }
    }
    CStringTable::Instance().ResetToEnglish();
    QtTranslation::Install("English");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), qtCancel);
}

TEST(LanguageMenu, PrunedToTheRegionsLanguages) {
    const auto region = [](const std::string& languages) {
        return CRegionSetting(ParseXmlUtf8(
            "<RegionSetting xmlns=\"urn:varentis:qmv-vlt:profile\"><Region name=\"LACR\"/>"
            "<SupportLanguages>" +
            languages + "</SupportLanguages></RegionSetting>"));
    };
    EXPECT_TRUE(LanguageMenuCommands(region("<language name=\"English\" displayName=\"English\"/>"))
                    .empty());
    const auto two =
        LanguageMenuCommands(region("<language name=\"French\" displayName=\"Français\"/>"
                                    "<language name=\"English\" displayName=\"English\"/>"));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].commandId, LanguageCommand::kEnglish);
    EXPECT_EQ(two[1].key, "French");
    EXPECT_EQ(two[1].commandId, LanguageCommand::kFrench);
    EXPECT_EQ(two[1].displayName, "Français");
}

}  // namespace
