#include <gtest/gtest.h>

#include "StringTable.h"

TEST(StringTable, PlaceholderFormatting) {
    struct Case {
        const char* fmt;
        std::initializer_list<std::string_view> args;
        const char* expected;
    };
    const Case cases[] = {
        {"Channel %d", {"3"}, "Channel 3"},
        {"Error: Operation Failed (%s).", {"User Canceled"}, "Error: Operation Failed (User Canceled)."},
        {"%lu of %d%%", {"7", "9"}, "7 of 9%"},
        {"missing %s", {}, "missing "},
        {"trailing %", {}, "trailing %"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatPlaceholders(c.fmt, c.args), c.expected) << c.fmt;
    }
}
