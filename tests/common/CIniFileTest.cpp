#include <gtest/gtest.h>

#include "CIniFile.h"

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

}  // namespace
