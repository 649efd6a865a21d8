#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>

#include "RadioClock.h"

namespace {

TEST(RadioClock, EncodesLocalDatesWithTheRadiosLeapDays) {
    struct Case {
        int y, mo, d, h, mi, s;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {1970, 1, 1, 0, 0, 0, 0},
        {1970, 1, 2, 1, 2, 3, 86400 + 3723},
        {1972, 3, 1, 0, 0, 0, (2 * 365 + 31 + 29) * 86400u},  // 1972 is a leap year
        {2000, 3, 1, 0, 0, 0, 951868800u},
        {2024, 12, 31, 23, 59, 59, 1735689599u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RadioClockSeconds(c.y, c.mo, c.d, c.h, c.mi, c.s), c.expected) << c.y;
    }
}

// Every day the date picker offers, at a time that exercises each field, encodes as Unix time of
// the same reading in UTC and decodes back to it.
TEST(RadioClock, EqualsUnixTimeOverThePickerRange) {
    const QDate last(2059, 12, 31);
    int checked = 0;
    for (QDate d(2000, 1, 1); d <= last; d = d.addDays(1)) {
        for (const QTime t : {QTime(0, 0, 0), QTime(23, 59, 59), QTime(12, 34, 56)}) {
            const std::uint32_t value =
                RadioClockSeconds(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
            const qint64 unix = QDateTime(d, t, QTimeZone::utc()).toSecsSinceEpoch();
            ASSERT_EQ(value, unix) << d.toString(Qt::ISODate).toStdString();
            const RadioClockFields f = RadioClockDecode(value);
            ASSERT_EQ(QDate(f.year, f.month, f.day), d) << value;
            ASSERT_EQ(QTime(f.hour, f.minute, f.second), t) << value;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 3 * QDate(2000, 1, 1).daysTo(last) + 3);
}

TEST(RadioClock, DecodeInvertsEncodeAcrossAllThirtyTwoBits) {
    for (std::uint64_t v = 0; v <= 0xFFFFFFFFu; v += 9999991) {
        const RadioClockFields f = RadioClockDecode(static_cast<std::uint32_t>(v));
        EXPECT_EQ(RadioClockSeconds(f.year, f.month, f.day, f.hour, f.minute, f.second), v);
    }
    const RadioClockFields top = RadioClockDecode(0xFFFFFFFFu);
    EXPECT_EQ(RadioClockSeconds(top.year, top.month, top.day, top.hour, top.minute, top.second),
              0xFFFFFFFFu);
}

}  // namespace
