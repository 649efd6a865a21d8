#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The firmware version text of a profile or radio: the phase letter ('R' release, 'D' otherwise)
// followed by "%02X.%02d.%02d" of release, version and revision, e.g. "R5E.08.00".
std::string FormatFirmwareVersion(std::string_view phase, unsigned release, unsigned version,
                                  unsigned revision);

// The version without its leading 'D' and 'R' characters.
std::string_view StripFirmwarePhase(std::string_view version);

// The comparable number of a version "aa.bb.cc": a*10000 + b*100 + c, where the three parts are
// the first two characters, the two from position 3 and the last two, each read as hexadecimal
// (also bb and cc, which the text writes in decimal). A part without hex digits counts 0, so a
// short or malformed text still gives a number and never reads past its end.
std::int64_t FirmwareVersionNumber(std::string_view version);

// The group number of a group element name: the name without its leading 'G's, read as decimal
// digits up to the first other character (0 when there are none).
int GroupNumberOfName(std::string_view name);
