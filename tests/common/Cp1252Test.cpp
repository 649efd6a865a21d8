#include <gtest/gtest.h>

#include "TextCodec.h"

namespace {

TEST(Cp1252, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    bool lossless = true;
    EXPECT_EQ(Utf16ToCp1252(Cp1252ToUtf16(all), &lossless), all);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, MapsTheWindowsPositions) {
    const struct {
        unsigned char byte;
        char16_t unit;
    } cases[] = {{0x41, u'A'},   {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160},
                 {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF}};
    for (const auto& c : cases) {
        EXPECT_EQ(Cp1252ToUtf16(std::string(1, static_cast<char>(c.byte))),
                  std::u16string(1, c.unit))
            << int(c.byte);
    }
}

TEST(Cp1252, CharactersOutsideTheCodePageAreReported) {
    bool lossless = true;
    EXPECT_EQ(Utf16ToCp1252(u"a\u4E2Db\U0001F600c\u20AC", &lossless), "a?b?c\x80");
    EXPECT_FALSE(lossless);
}

}  // namespace
