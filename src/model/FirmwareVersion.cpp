#include "FirmwareVersion.h"

#include <cstdio>
#include <cstdlib>

std::string FormatFirmwareVersion(std::string_view phase, unsigned release, unsigned version,
                                  unsigned revision) {
    char digits[40];
    std::snprintf(digits, sizeof digits, "%02X.%02u.%02u", release, version, revision);
    return std::string(phase) + digits;
}

std::string_view StripFirmwarePhase(std::string_view version) {
    while (!version.empty() && (version.front() == 'D' || version.front() == 'R')) {
        version.remove_prefix(1);
    }
    return version;
}

namespace {

// As a base-16 strtol reads it: leading blanks, a sign, an optional "0x", then hex digits.
std::int64_t HexPart(std::string_view part) {
    const std::string text(part);
    return std::strtoll(text.c_str(), nullptr, 16);
}

}  // namespace

std::int64_t FirmwareVersionNumber(std::string_view version) {
    const std::string_view a = version.substr(0, 2);
    const std::string_view b = version.size() > 3 ? version.substr(3, 2) : std::string_view();
    const std::string_view c = version.size() >= 2 ? version.substr(version.size() - 2) : version;
    return HexPart(a) * 10000 + HexPart(b) * 100 + HexPart(c);
}

int GroupNumberOfName(std::string_view name) {
    while (!name.empty() && name.front() == 'G') {
        name.remove_prefix(1);
    }
    long value = 0;
    for (char c : name) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
        if (value > 1000000) {
            return 0;  // no real group number is that large
        }
    }
    return static_cast<int>(value);
}
