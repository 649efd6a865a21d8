#include <gtest/gtest.h>

#include "CIniFile.h"
#include "ConfigTestFolder.h"

namespace {

TEST(CIniFile, ValuesWithEveryEscapeRoundTrip) {
    const std::string values[] = {std::string("nul\0inside", 10),
                                  "back\\slash",
                                  "cr\rlf\n",
                                  "tab\t",
                                  "=[]; #",
                                  "",
                                  "  spaced  "};
    CIniFile ini;
    int i = 0;
    for (const std::string& v : values) {
        ini.Set("Key\\Sub", "V" + std::to_string(i++), v);
    }
    const CIniFile back = CIniFile::FromText(ini.ToText());
    i = 0;
    for (const std::string& v : values) {
        EXPECT_EQ(back.Get("key\\sub", "v" + std::to_string(i++)), v);
    }
}

TEST(CIniFile, NamesCannotInjectLinesOrSections) {
    CIniFile ini;
    ini.Set("S", "evil\n[Other]\nx", "1");
    ini.Set("S]\n[T", "n", "2");
    const CIniFile back = CIniFile::FromText(ini.ToText());
    EXPECT_FALSE(back.HasSection("Other"));
    EXPECT_FALSE(back.HasSection("T"));
    EXPECT_EQ(back.Get("S", "evilOtherx"), "1");
}

TEST(CIniFile, ToleratesHandWrittenFiles) {
    const CIniFile ini = CIniFile::FromText(
        "; comment\r\norphan=1\r\n[ A ]\r\n  Name = value with = sign \r\n# c\r\nname=last\r\n"
        "garbage line\r\n[B]\n");
    EXPECT_EQ(ini.Get("A", "NAME"), "last");
    EXPECT_FALSE(ini.Get("", "orphan"));
    EXPECT_TRUE(ini.HasSection("b"));
}

TEST(CIniFile, RewritingKeepsTheFilesPermissionsAndLeavesNothingBeside) {
    // A user who made the store private keeps it private after the program saves a setting.
    namespace fs = std::filesystem;
    const ConfigTestFolder dir;
    const fs::path file = dir.Path() / "sub" / "user.ini";
    CIniFile ini;
    ini.Set("S", "Port", "COM1");
    ASSERT_TRUE(ini.Write(file));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    ini.Set("S", "Port", "/dev/ttyUSB0");
    ASSERT_TRUE(ini.Write(file));
    EXPECT_EQ(static_cast<int>(fs::status(file).permissions() & fs::perms::all), 0600);
    EXPECT_EQ(CIniFile::Read(file)->Get("s", "port"), "/dev/ttyUSB0");
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()),
              1);
}

}  // namespace
