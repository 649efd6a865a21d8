#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The radio holds text as ISO-8859-1 bytes; the program as UTF-16.

inline constexpr int kRadioTextOk = 1;      // WideToRadio success
inline constexpr int kRadioTextReadOk = 0;  // RadioToWide success
inline constexpr int kRadioTextConvertFailed = -15;

// Byte budgets of the radio's text fields.
inline constexpr std::size_t kPidBudget = 11;
inline constexpr std::size_t kNameBudget = 25;
inline constexpr std::size_t kTextBudget = 80;
inline constexpr std::size_t kShortFieldBudget = 4;  // password and model code

// A PID as the radio holds it: 1 to 11 decimal digits, at most 17179869183 (2^34 - 1).
bool IsValidPid(std::u16string_view text);
bool IsValidPid(std::string_view text);

// Writes text as radio text into dest: the low byte of each code unit, up to and including the
// first zero. An empty text writes nothing (dest keeps what it held). Never writes past dest: a
// text that does not fit is cut so that the last byte of dest is its terminating zero. Returns
// kRadioTextConvertFailed when a character written lies above U+00FF (the radio cannot hold it).
int WideToRadio(std::u16string_view text, std::span<std::uint8_t> dest);

// Reads radio text of at most budget bytes (at most 255) from src into dest, zero-extending each
// byte; writes the text and its terminating zero, at most 80 code units and never past dest.
// dest must be zeroed by the caller. A null src writes nothing.
int RadioToWide(std::span<char16_t> dest, const std::uint8_t* src, std::size_t budget);

// Convenience: the text RadioToWide reads from src, as a string.
std::u16string RadioToWideString(const std::uint8_t* src, std::size_t budget);
