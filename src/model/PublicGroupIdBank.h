#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "XmlDom.h"

// One of the four banks of public group identifiers. Identifiers count down from basePid while the
// display numbers the user sees count up from firstNumber.
struct PublicGroupIdBank {
    std::int32_t count = 0;
    std::int32_t firstNumber = 0;
    std::int32_t lastNumber = -1;  // -1: the bank is unused
    std::string basePid;

    bool InUse() const { return lastNumber >= firstNumber && count > 0; }
    bool operator==(const PublicGroupIdBank&) const = default;
};
using PublicGroupIdBanks = std::array<PublicGroupIdBank, 4>;

// A bank's size as text (public_grp_info_lst_size<i>): the image holds 8 bits, so the size is
// clamped to 0..255 here, in the rule file and in the conversion alike.
std::int32_t PublicGroupListSize(const std::string& text);

// The banks described by the public_grp_info_* attributes of a profile's limit element (null gives
// four unused banks).
PublicGroupIdBanks LoadPublicGroupRanges(const xmlNode* limit);

// Display number -> PID (empty when no bank holds the number).
std::string PublicGroupNumberToPid(const PublicGroupIdBanks& banks, std::int64_t number);
// PID -> display number (0 when no bank holds the PID).
std::int64_t PidToPublicGroupNumber(const PublicGroupIdBanks& banks, const std::string& pid);
