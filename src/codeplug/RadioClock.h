#pragma once

#include <cstdint>

// The radio clock's encoding of a local date and time (current_time, alarm_time): seconds since
// 1970-01-01 00:00 with the radio's own leap-day count, which matches the calendar from 1901 to
// 2099 and so equals Unix time of the same wall-clock reading in UTC there.
std::uint32_t RadioClockSeconds(int year, int month, int day, int hour, int minute, int second);
// The PC's local clock now, in that encoding.
std::uint32_t RadioClockNow();

struct RadioClockFields {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
// The date and time a value encodes (the inverse of RadioClockSeconds for every 32-bit value).
RadioClockFields RadioClockDecode(std::uint32_t seconds);
