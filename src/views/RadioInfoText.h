#pragma once

#include <string>

#include "CDataItem.h"

// The texts of the radio information view, from the profile's version and limit elements.
namespace RadioInfoText {
// Phase followed by the release in hexadecimal and version and revision in decimal: "R01.02.03".
std::string Firmware(const std::string& phase, int release, int version, int revision);
// "CP" and the three codeplug numbers in hexadecimal: "CP01.0A.02".
std::string Codeplug(int structure, int version, int devVersion);
// The own radio's name: the identifier itself when it is an "X" placeholder, the name of the
// private with that identifier, or eleven "X" when no private has it.
std::string OwnRadioName(const CDataItem& root, const std::string& pid);
}  // namespace RadioInfoText
