#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "RadioText.h"

TEST(RadioText, LatinTextRoundTripsByteForByte) {
    std::array<std::uint8_t, 26> bytes{};
    EXPECT_EQ(WideToRadio(u"Zo\u00eb", bytes), kRadioTextOk);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4),
              (std::vector<std::uint8_t>{0x5A, 0x6F, 0xEB, 0x00}));
    EXPECT_EQ(RadioToWideString(bytes.data(), kNameBudget), u"Zo\u00eb");
}

TEST(RadioText, EmptyTextLeavesDestinationUntouched) {
    std::array<std::uint8_t, 4> bytes = {1, 2, 3, 4};
    EXPECT_EQ(WideToRadio(u"", bytes), kRadioTextOk);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
}

TEST(RadioText, WideToRadioNeverWritesPastTheFieldAndRefusesWhatTheRadioCannotHold) {
    struct Case {
        std::u16string text;
        std::vector<std::uint8_t> expected;  // the whole 5-byte field after the call
        int status;
    };
    const Case cases[] = {
        {u"ab", {'a', 'b', 0, 0xEE, 0xEE}, kRadioTextOk},
        {u"abcd", {'a', 'b', 'c', 'd', 0}, kRadioTextOk},
        {u"abcdefgh", {'a', 'b', 'c', 'd', 0}, kRadioTextOk},  // cut, still terminated
        {u"\u00ff\u00e9", {0xFF, 0xE9, 0, 0xEE, 0xEE}, kRadioTextOk},
        {u"a\u0100b", {'a', 0, 0xEE, 0xEE, 0xEE}, kRadioTextConvertFailed},  // would end the text
        {u"\u0141x", {0x41, 'x', 0, 0xEE, 0xEE}, kRadioTextConvertFailed},   // would become 'A'
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> field(5, 0xEE);
        EXPECT_EQ(WideToRadio(c.text, field), c.status);
        EXPECT_EQ(field, c.expected);
    }
}

TEST(RadioText, RadioToWideKeepsToBudgetAndEightyCharacters) {
    std::vector<std::uint8_t> hundred(100, 'x');
    std::array<char16_t, 82> text{};
    EXPECT_EQ(RadioToWide(text, hundred.data(), kTextBudget), kRadioTextReadOk);
    EXPECT_EQ(std::u16string(text.data()).size(), 80u);

    std::vector<std::uint8_t> name(25, 'n');  // a full name field with no zero byte
    EXPECT_EQ(RadioToWideString(name.data(), kNameBudget), std::u16string(25, u'n'));

    std::array<std::uint8_t, 12> pid = {'1', '2', '3', 0, '9', '9'};
    EXPECT_EQ(RadioToWideString(pid.data(), kPidBudget), u"123");

    std::array<char16_t, 4> small{};
    RadioToWide(small, name.data(), kNameBudget);  // never past a small destination
    EXPECT_EQ(std::u16string(small.data(), 4), u"nnnn");

    std::array<char16_t, 3> untouched = {u'a', u'b', 0};
    EXPECT_EQ(RadioToWide(untouched, nullptr, 4), kRadioTextReadOk);
    EXPECT_EQ(std::u16string(untouched.data()), u"ab");
}
