#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "CliRunner.h"
#include "StringTable.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ConfigCommand : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "qmvvlt-cli-config-XXXXXX");
        m_dir = mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(m_dir); }
    CliResult Config(std::vector<std::string> args) {
        args.insert(args.begin(), {"--config", m_dir.string(), "config"});
        return RunCli(args);
    }
    fs::path m_dir;
};

TEST_F(ConfigCommand, EmptyFolderShowsABootstrappedConfiguration) {
    const CliResult first = Config({});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    for (const char* line :
         {"\nCurrentLanguage=English\n", "\nDefaultLanguage=English\n", "\nCurrentComPort=COM1\n",
          "\nShowRegionalizationPrompt=1\n", "\nDealerInfo=Your dealer's name and address\n"}) {
        EXPECT_NE(first.out.find(line), std::string::npos) << line << first.out;
    }
    const std::string installLine = "\nInstallPath=" + std::string(QMVVLT_SOURCE_DATA_DIR) + "\n";
    EXPECT_NE(first.out.find(installLine), std::string::npos) << first.out;

    // A second run finds everything in place and changes nothing.
    const std::string user = Read(m_dir / "user.ini");
    const CliResult second = Config({});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out, first.out);
    EXPECT_EQ(Read(m_dir / "user.ini"), user);
}

TEST_F(ConfigCommand, SetsAndShowsUserValues) {
    const struct {
        const char* name;
        const char* value;
        const char* shown;
    } cases[] = {{"CurrentComPort", "/dev/ttyUSB0", "/dev/ttyUSB0"},
                 {"autodetect", "1", "1"},
                 {"ShowContextHelp", "0", "0"},
                 {"DealerNotes", "two\nlines", "two\\nlines"},
                 {"RegisterUrl", "postgresql://clerk@db.example/fleet",
                  "postgresql://clerk@db.example/fleet"},
                 {"CurrentLanguage", "German", "German"}};
    for (const auto& c : cases) {
        const CliResult set = Config({c.name, c.value});
        ASSERT_EQ(set.exitCode, 0) << c.name << set.err;
        const CliResult get = Config({c.name});
        EXPECT_EQ(get.out, std::string(c.shown) + "\n") << c.name;
    }
    // The new language got its own dealer defaults.
    EXPECT_EQ(Config({"DealerInfo"}).out, "Name und Anschrift Ihres H\xC3\xA4ndlers\n");
}

TEST_F(ConfigCommand, RefusesWhatItCannotSet) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
    } cases[] = {{{"InstallPath", "/tmp"}, 1},
                 {{"NoSuchValue"}, 1},
                 {{"CurrentLanguage", "Klingon"}, 1},
                 {{"AutoDetect", "yes"}, 1},
                 {{"RegisterUrl", "ftp://db.example/fleet"}, 1},
                 {{"a", "b", "c"}, 1},
                 {{"DealerInfo", std::string(251, 'x')}, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(Config(c.args).exitCode, c.exitCode) << c.args[0];
    }
    EXPECT_EQ(Config({"DefaultLanguage"}).out, "English\n");
}

TEST_F(ConfigCommand, MachineScopeWithoutDefaultLanguageIsFatal) {
    std::ofstream(m_dir / "machine.ini") << "[Software\\Varentis Solutions\\QMV410 VLT]\n";
    const CliResult result = Config({});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("Fatal registry error. Please reinstall VLT."), std::string::npos)
        << result.err;
}

TEST_F(ConfigCommand, EnvironmentVariableNamesTheFolder) {
    setenv("QMVVLT_CONFIG_DIR", m_dir.c_str(), 1);
    const CliResult result = RunCli({"config", "CurrentComPort", "COM7"});
    unsetenv("QMVVLT_CONFIG_DIR");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(Read(m_dir / "user.ini").find("CurrentComPort=COM7"), std::string::npos);
}

// A message in English must come out as the German file's text of the same entry.
TEST_F(ConfigCommand, MessagesFollowTheConfiguredLanguage) {
    const std::vector<std::string> validate = {"--config", m_dir.string(), "validate",
                                               (m_dir / "missing.lam").string()};
    // The message is the first line; the system's reason follows it.
    auto message = [](const std::string& err) { return err.substr(0, err.find('\n')); };
    const CliResult english = RunCli(validate);
    ASSERT_EQ(english.exitCode, 2) << english.err;
    int id = 0;
    for (std::size_t i = 0; i < kEnglishStringCount && id == 0; ++i) {
        if (message(english.err) == kEnglishStrings[i].text) {
            id = kEnglishStrings[i].id;
        }
    }
    ASSERT_NE(id, 0) << "not a string-table text: " << english.err;

    ASSERT_EQ(Config({"CurrentLanguage", "German"}).exitCode, 0);
    const auto german = ReadLanguageFile(fs::path(QMVVLT_SOURCE_DATA_DIR) / "lang/German.txt");
    ASSERT_TRUE(german && german->count(id));
    const CliResult translated = RunCli(validate);
    EXPECT_EQ(translated.exitCode, 2);
    EXPECT_EQ(message(translated.err), german->at(id));
    EXPECT_NE(message(translated.err), message(english.err));
}

}  // namespace
