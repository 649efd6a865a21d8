#pragma once

#include <cstdint>
#include <string_view>

// Reads a profile number the way the conversions do: leading white space skipped, decimal digits up
// to the first other character, no digits give 0, and a value past 32 bits gives the largest 32-bit
// value. Callers keep the low bits that fit their field.
std::uint32_t ParseProfileNumber(std::string_view text);

inline std::uint8_t ParseProfileByte(std::string_view text) {
    return static_cast<std::uint8_t>(ParseProfileNumber(text) & 0xFFu);
}
inline bool ParseProfileFlag(std::string_view text) {
    return ParseProfileNumber(text) & 1u;
}
