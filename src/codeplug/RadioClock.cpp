#include "RadioClock.h"

#include <ctime>

namespace {

constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Day number (0 = 1970-01-01) of the first of January of year, as the radio counts it.
std::int64_t YearStart(int year) {
    return static_cast<std::int64_t>(year - 1970) * 365 + (year - 1969) / 4;
}

}  // namespace

std::uint32_t RadioClockSeconds(int year, int month, int day, int hour, int minute, int second) {
    std::int64_t days = YearStart(year);
    days += kDaysBefore[(month - 1) % 12];
    if (IsLeap(year) && month > 2) {
        ++days;
    }
    days += day - 1;
    const std::int64_t seconds = ((days * 24 + hour) * 60 + minute) * 60 + second;
    return static_cast<std::uint32_t>(seconds);
}

std::uint32_t RadioClockNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return RadioClockSeconds(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                             local.tm_min, local.tm_sec);
}

RadioClockFields RadioClockDecode(std::uint32_t seconds) {
    RadioClockFields f;
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    f.hour = static_cast<int>(rest / 3600);
    f.minute = static_cast<int>(rest / 60 % 60);
    f.second = static_cast<int>(rest % 60);
    // 32 bits of seconds reach 2106: the year is found by counting forward from 1970.
    int year = 1970;
    while (YearStart(year + 1) <= days) {
        ++year;
    }
    days -= YearStart(year);
    f.year = year;
    int month = 12;
    while (month > 1) {
        const std::int64_t start = kDaysBefore[month - 1] + (IsLeap(year) && month > 2 ? 1 : 0);
        if (days >= start) {
            days -= start;
            break;
        }
        --month;
    }
    f.month = month;
    f.day = static_cast<int>(days) + 1;
    return f;
}
