#include <gtest/gtest.h>

#include "TextCodec.h"

TEST(TextCodec, Utf8AndUtf16ConvertBothWays) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"Zo\xC3\xAB", u"Zo\u00eb"},
        {"\xE2\x82\xAC 5", u"\u20ac 5"},
        {"\xF0\x9F\x93\xBB", u"\U0001F4FB"},  // outside the BMP: a surrogate pair
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    }
}

TEST(TextCodec, MalformedInputBecomesReplacementCharacters) {
    struct Case {
        std::string utf8;
        std::u16string expected;
    };
    const Case cases[] = {
        {"a\xFF"
         "b",
         u"a\uFFFDb"},
        {"\xC3", u"\uFFFD"},          // cut short
        {"\xC0\xAF", u"\uFFFD"},      // overlong form
        {"\xED\xA0\x80", u"\uFFFD"},  // encoded surrogate
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.expected);
    }
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(TextCodec, Latin1Check) {
    EXPECT_TRUE(IsLatin1(u"J\u00fcrgen \u00ff"));
    EXPECT_FALSE(IsLatin1(u"\u0100"));
    EXPECT_FALSE(IsLatin1(u"\u20ac"));
}
