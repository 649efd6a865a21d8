#include "RadioText.h"

#include <algorithm>
#include <array>
#include <cstring>

int WideToRadio(std::u16string_view text, std::span<std::uint8_t> dest) {
    if (text.empty() || dest.empty()) {
        return kRadioTextOk;
    }
    std::size_t n = 0;
    const std::size_t room = dest.size() - 1;  // keep one byte for the terminator
    bool convertible = true;
    for (char16_t unit : text) {
        if (unit == 0) {
            break;
        }
        // Keeping only the low byte would put another character on the radio, or end the text.
        convertible = convertible && unit <= 0xFF;
        const auto byte = static_cast<std::uint8_t>(unit & 0xFF);
        if (byte == 0 || n == room) {
            break;
        }
        dest[n++] = byte;
    }
    dest[n] = 0;
    return convertible ? kRadioTextOk : kRadioTextConvertFailed;
}

int RadioToWide(std::span<char16_t> dest, const std::uint8_t* src, std::size_t budget) {
    if (!src) {
        return kRadioTextReadOk;
    }
    std::array<std::uint8_t, 256> work{};
    budget = std::min<std::size_t>(budget, 255);
    std::memcpy(work.data(), src, budget);
    const auto length = static_cast<std::size_t>(
        std::find(work.begin(), work.end(), std::uint8_t{0}) - work.begin());
    const std::size_t n = std::min({length + 1, kTextBudget, dest.size()});
    for (std::size_t i = 0; i < n; ++i) {
        dest[i] = static_cast<char16_t>(work[i]);
    }
    return kRadioTextReadOk;
}

std::u16string RadioToWideString(const std::uint8_t* src, std::size_t budget) {
    std::array<char16_t, 258> buffer{};
    RadioToWide(buffer, src, budget);
    return std::u16string(buffer.data());
}

namespace {

template <class Char>
bool IsPidText(std::basic_string_view<Char> text) {
    constexpr std::uint64_t kHighestPid = 17179869183ULL;  // 2^34 - 1
    if (text.empty() || text.size() > kPidBudget) {
        return false;
    }
    std::uint64_t value = 0;
    for (const Char c : text) {
        if (c < Char('0') || c > Char('9')) {
            return false;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - Char('0'));
    }
    return value <= kHighestPid;
}

}  // namespace

bool IsValidPid(std::u16string_view text) {
    return IsPidText(text);
}

bool IsValidPid(std::string_view text) {
    return IsPidText(text);
}
