#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "ConfigTestFolder.h"
#include "Utility.h"

namespace {

const std::string kProduct = "[Software\\Varentis Solutions\\QMV410 VLT]\n";
const std::string kGerman = "[Software\\Varentis Solutions\\QMV410 VLT\\Language\\German]\n";

std::string MachineWith(const std::string& productValues, const std::string& germanValues = "") {
    return kProduct + productValues + kGerman + germanValues;
}

const std::string kGermanDefaults =
    "DealerInfo=Händler GmbH\nContactInfo=+49 30 1234\nDealerNotes=Zeile 1\\nZeile 2\n"
    "HelpFileName=help/de.html\nGUIResource=lang/German.txt\n";

TEST(UtilityBootstrap, FirstRunWithOnlyTheMachineScopeFillsTheUserScope) {
    ConfigTestFolder dir;
    ConfigTestFolder::Write(
        dir.Machine(),
        MachineWith("InstallPath=/opt/vlt\nDefaultLanguage=German\n", kGermanDefaults));
    const BootstrapResult result = Utility::Bootstrap();
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.messageId, 0);
    EXPECT_EQ(Utility::GetCurrentComPort(), "COM1");
    EXPECT_EQ(Utility::GetCurrentLanguage(), "German");
    DealerTexts texts;
    ASSERT_TRUE(Utility::ReadDealerInformation(texts));
    EXPECT_EQ(texts.dealerInfo, "Händler GmbH");
    EXPECT_EQ(texts.contactInfo, "+49 30 1234");
    EXPECT_EQ(texts.dealerNotes, "Zeile 1\nZeile 2");
    EXPECT_EQ(Utility::GetRegionalizationPromptFlag(), 1);
    EXPECT_EQ(Utility::GetHelpFilePath(), "/opt/vlt/help/de.html");
    EXPECT_EQ(Utility::GetResourceLibraryPath(), "/opt/vlt/lang/German.txt");
    // The machine scope is what the installer wrote: the bootstrap leaves it alone.
    EXPECT_EQ(ConfigTestFolder::Read(dir.Machine()),
              MachineWith("InstallPath=/opt/vlt\nDefaultLanguage=German\n", kGermanDefaults));
}

TEST(UtilityBootstrap, RegionalizationPromptFollowsTheMachineValue) {
    const struct {
        const char* machineLine;
        int expected;
    } cases[] = {{"", 1},
                 {"ShowRegionalizationPrompt=0\n", 0},
                 {"ShowRegionalizationPrompt=1\n", 1},
                 {"ShowRegionalizationPrompt=7\n", 1},
                 {"ShowRegionalizationPrompt=garbage\n", 1}};
    for (const auto& c : cases) {
        ConfigTestFolder dir;
        ConfigTestFolder::Write(
            dir.Machine(), MachineWith(std::string("DefaultLanguage=German\n") + c.machineLine));
        ASSERT_TRUE(Utility::Bootstrap().ok);
        EXPECT_EQ(Utility::GetRegionalizationPromptFlag(), c.expected) << c.machineLine;
    }
}

TEST(UtilityBootstrap, SecondRunChangesNothingTheUserSet) {
    ConfigTestFolder dir;
    ConfigTestFolder::Write(
        dir.Machine(),
        MachineWith("DefaultLanguage=German\nShowRegionalizationPrompt=1\n", kGermanDefaults));
    ASSERT_TRUE(Utility::Bootstrap().ok);
    ASSERT_TRUE(Utility::SetCurrentComPort("/dev/ttyUSB0"));
    ASSERT_TRUE(Utility::SetRegionalizationPromptFlag(0));
    ASSERT_EQ(Utility::WriteDealerInformation({"Mine", "", "Notes"}), 0);
    const std::string before = ConfigTestFolder::Read(dir.User());

    // Even new installer defaults do not reach values the user already has.
    ConfigTestFolder::Write(dir.Machine(),
                            MachineWith("DefaultLanguage=French\nShowRegionalizationPrompt=1\n",
                                        "DealerInfo=Other\nContactInfo=x\nDealerNotes=y\n"));
    ASSERT_TRUE(Utility::Bootstrap().ok);
    EXPECT_EQ(ConfigTestFolder::Read(dir.User()), before);
    EXPECT_EQ(Utility::GetCurrentLanguage(), "German");
    DealerTexts texts;
    ASSERT_TRUE(Utility::ReadDealerInformation(texts));
    EXPECT_EQ(texts.dealerInfo, "Mine");
    EXPECT_EQ(texts.contactInfo, "");
}

TEST(UtilityBootstrap, FailsWithTheRegistryMessage) {
    {
        ConfigTestFolder dir;  // machine scope present but without a default language
        ConfigTestFolder::Write(dir.Machine(), MachineWith("InstallPath=/opt/vlt\n"));
        const BootstrapResult result = Utility::Bootstrap();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.messageId, 10115);
    }
    {
        ConfigTestFolder dir;  // the user scope cannot be created: its folder is a file
        ConfigTestFolder::Write(dir.Path() / "file", "x");
        Utility::SetConfigFolder(dir.Path() / "file");
        const BootstrapResult result = Utility::Bootstrap();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.messageId, 10115);
    }
    {
        ConfigTestFolder dir;  // a default language that cannot name a key: stop without message
        ConfigTestFolder::Write(dir.Machine(), MachineWith("DefaultLanguage=Ger\\\\man\n"));
        const BootstrapResult result = Utility::Bootstrap();
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.messageId, 0);
        EXPECT_EQ(Utility::GetCurrentLanguage(), "");
    }
}

TEST(UtilityDealer, TextsEndAtTheFirstNulAndNeedNoTerminator) {
    const struct {
        const char* stored;
        const char* expected;
    } cases[] = {{"plain text", "plain text"},
                 {"first\\0second", "first"},
                 {"\\0", ""},
                 {"two\\nlines", "two\nlines"}};
    for (const auto& c : cases) {
        ConfigTestFolder dir;
        ConfigTestFolder::Write(dir.User(), kProduct + "CurrentLanguage=German\n" + kGerman +
                                                "DealerInfo=" + c.stored +
                                                "\nContactInfo=c\nDealerNotes=n\n");
        DealerTexts texts;
        ASSERT_TRUE(Utility::ReadDealerInformation(texts)) << c.stored;
        EXPECT_EQ(texts.dealerInfo, c.expected);
    }
}

TEST(UtilityDealer, ReadFailsWhenAnyValueIsMissingAndLeavesTheTextsAlone) {
    ConfigTestFolder dir;
    ConfigTestFolder::Write(dir.User(), kProduct + "CurrentLanguage=German\n" + kGerman +
                                            "DealerInfo=a\nContactInfo=b\n");
    DealerTexts texts{"keep", "keep", "keep"};
    EXPECT_FALSE(Utility::ReadDealerInformation(texts));
    EXPECT_EQ(texts.dealerInfo, "keep");

    Utility::SetCurrentLanguage("French");  // no subkey for it
    EXPECT_FALSE(Utility::ReadDealerInformation(texts));
}

TEST(UtilityDealer, WriteOfTextsWithSpecialCharactersReadsBack) {
    ConfigTestFolder dir;
    ConfigTestFolder::Write(dir.Machine(), MachineWith("DefaultLanguage=German\n"));
    ASSERT_TRUE(Utility::Bootstrap().ok);
    const DealerTexts written{"a=b [c]\\d", "line1\r\nline2", "tab\there ünïcode"};
    ASSERT_EQ(Utility::WriteDealerInformation(written), 0);
    DealerTexts read;
    ASSERT_TRUE(Utility::ReadDealerInformation(read));
    EXPECT_EQ(read.dealerInfo, written.dealerInfo);
    EXPECT_EQ(read.contactInfo, written.contactInfo);
    EXPECT_EQ(read.dealerNotes, written.dealerNotes);
}

TEST(UtilityCapacity, ValuesLongerThanTheirCapacityCountAsAbsent) {
    ConfigTestFolder dir;
    const std::string path511 = "/" + std::string(510, 'p');
    const std::string path512 = "/" + std::string(511, 'p');
    const std::string lang49(49, 'L');
    const std::string lang50(50, 'L');

    ConfigTestFolder::Write(dir.Machine(), MachineWith("InstallPath=" + path511 + "\n"));
    EXPECT_EQ(Utility::GetInstallPath(), path511);
    ConfigTestFolder::Write(dir.Machine(), MachineWith("InstallPath=" + path512 + "\n"));
    EXPECT_NE(Utility::GetInstallPath(), path512);
    EXPECT_NE(Utility::GetInstallPath().substr(0, 511), path512.substr(0, 511));

    ConfigTestFolder::Write(dir.User(), kProduct + "CurrentLanguage=" + lang49 + "\n");
    EXPECT_EQ(Utility::GetCurrentLanguage(), lang49);
    ConfigTestFolder::Write(dir.User(), kProduct + "CurrentLanguage=" + lang50 + "\n");
    EXPECT_EQ(Utility::GetCurrentLanguage(), "");
    EXPECT_FALSE(Utility::SetCurrentLanguage(lang50));
    // Capacities count characters, not bytes: 49 two-byte characters still fit.
    EXPECT_TRUE(Utility::SetCurrentLanguage(std::string(49, 'x').replace(0, 1, "é")));

    // A dealer default above its capacity is seeded as empty text, never cut.
    ConfigTestFolder dir2;
    ConfigTestFolder::Write(dir2.Machine(),
                            MachineWith("DefaultLanguage=German\n",
                                        "DealerInfo=" + std::string(511, 'd') + "\nContactInfo=" +
                                            std::string(512, 'c') + "\nDealerNotes=n\n"));
    ASSERT_TRUE(Utility::Bootstrap().ok);
    DealerTexts texts;
    ASSERT_TRUE(Utility::ReadDealerInformation(texts));
    EXPECT_EQ(texts.dealerInfo, std::string(511, 'd'));
    EXPECT_EQ(texts.contactInfo, "");
}

TEST(UtilityFlags, ThirtyTwoBitValues) {
    ConfigTestFolder dir;
    EXPECT_EQ(Utility::GetContextHelpFlag(), -1);
    EXPECT_EQ(Utility::GetRegionalizationPromptFlag(), -1);
    EXPECT_EQ(Utility::GetAutoDetect(), -1);
    ASSERT_TRUE(Utility::SetContextHelpFlag(1));
    EXPECT_EQ(Utility::GetContextHelpFlag(), 1);
    ASSERT_TRUE(Utility::SetRegionalizationPromptFlag(42));
    EXPECT_EQ(Utility::GetRegionalizationPromptFlag(), 1);
    ASSERT_TRUE(Utility::SetAutoDetect(0));
    EXPECT_EQ(Utility::GetAutoDetect(), 0);

    const struct {
        const char* stored;
        int expected;
    } cases[] = {{"0", 0},      {"1", 1}, {"4294967295", -1}, {"4294967296", -1}, {"-2", -2},
                 {"12abc", -1}, {"", -1}};
    for (const auto& c : cases) {
        ConfigTestFolder::Write(dir.User(), kProduct + "ShowContextHelp=" + c.stored + "\n");
        EXPECT_EQ(Utility::GetContextHelpFlag(), c.expected) << c.stored;
    }
}

TEST(UtilityStore, NothingIsCachedAndNamesIgnoreCase) {
    ConfigTestFolder dir;
    ConfigTestFolder::Write(dir.Machine(),
                            "[SOFTWARE\\VARENTIS SOLUTIONS\\qmv410 vlt]\ninstallpath=/a\n"
                            "defaultlanguage=French\n");
    EXPECT_EQ(Utility::GetInstallPath(), "/a");
    EXPECT_EQ(Utility::GetDefaultLanguage(), "French");
    // Another process changes the file: the next read sees it.
    ConfigTestFolder::Write(dir.Machine(), kProduct + "InstallPath=/b\n");
    EXPECT_EQ(Utility::GetInstallPath(), "/b");
}

TEST(UtilityStore, HelpPathsNeedALanguageAndAValue) {
    ConfigTestFolder dir;
    ConfigTestFolder::Write(dir.Machine(), MachineWith("InstallPath=/opt/vlt\n", kGermanDefaults));
    EXPECT_EQ(Utility::GetHelpFilePath(), "");  // no current language
    ASSERT_TRUE(Utility::SetCurrentLanguage("French"));
    EXPECT_EQ(Utility::GetHelpFilePath(), "");  // no subkey for it
    ASSERT_TRUE(Utility::SetCurrentLanguage("German"));
    EXPECT_EQ(Utility::GetHelpFilePath(), "/opt/vlt/help/de.html");
}

TEST(UtilityStore, InstallPathOverrideAndDiscovery) {
    ConfigTestFolder dir;
    ConfigTestFolder::Write(dir.Machine(), MachineWith("InstallPath=/from/machine\n"));
    Utility::SetInstallPathOverride("/from/option");
    EXPECT_EQ(Utility::GetInstallPath(), "/from/option");
    Utility::SetInstallPathOverride(std::nullopt);
    EXPECT_EQ(Utility::GetInstallPath(), "/from/machine");
    // Without a value the data folder of this build is found.
    ConfigTestFolder::Write(dir.Machine(), kProduct);
    EXPECT_EQ(Utility::GetInstallPath(), Utility::DiscoverDataFolder().string());
    EXPECT_TRUE(std::filesystem::exists(Utility::DiscoverDataFolder() / "lib" / "Region.stv"));
}

TEST(UtilityStore, AFolderWithoutMachineScopeUsesTheBuildDefaults) {
    ConfigTestFolder dir;
    ASSERT_TRUE(Utility::Bootstrap().ok);
    EXPECT_EQ(Utility::GetCurrentLanguage(), "English");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(Utility::GetInstallPath()) / "lib"));
    DealerTexts texts;
    EXPECT_TRUE(Utility::ReadDealerInformation(texts));
}

TEST(UtilityStore, AnUnreadableUserScopeIsNeverReplaced) {
    ConfigTestFolder dir;
    std::filesystem::create_directory(dir.User());  // not a file: cannot be read
    EXPECT_FALSE(Utility::SetCurrentComPort("COM3"));
    EXPECT_FALSE(Utility::EnsureKeys());
    EXPECT_EQ(Utility::WriteDealerInformation({"a", "b", "c"}), 10117);
    EXPECT_TRUE(std::filesystem::is_directory(dir.User()));
}

// Root may write anywhere, so the check runs in a child that gives up root first.
TEST(UtilityStoreDeathTest, AnUnwritableFolderKeepsTheUsersValues) {
    ConfigTestFolder dir;
    ConfigTestFolder::Write(dir.Machine(),
                            MachineWith("DefaultLanguage=German\n", kGermanDefaults));
    ASSERT_TRUE(Utility::Bootstrap().ok);
    ASSERT_TRUE(Utility::SetCurrentComPort("/dev/ttyUSB1"));
    const std::string before = ConfigTestFolder::Read(dir.User());
    std::filesystem::permissions(
        dir.Path(), std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                        std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                        std::filesystem::perms::others_exec);
    std::filesystem::permissions(
        dir.User(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                        std::filesystem::perms::group_read | std::filesystem::perms::others_read);
    EXPECT_EXIT(
        {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                std::exit(3);
            }
            const bool wrote = Utility::SetCurrentComPort("COM9") ||
                               Utility::WriteDealerInformation({"x", "y", "z"}) == 0 ||
                               Utility::SetContextHelpFlag(1);
            const bool kept = Utility::GetCurrentComPort() == "/dev/ttyUSB1" &&
                              Utility::WriteDealerInformation({"x", "y", "z"}) == 10118;
            std::exit(!wrote && kept ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(ConfigTestFolder::Read(dir.User()), before);
}

}  // namespace
