#include "PublicGroupIdBank.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <optional>

namespace {

constexpr std::int64_t kPidLimit = 1LL << 34;  // PIDs are below 2^34
constexpr std::int64_t kHighestPrivatePid = 17179867883;
constexpr std::int64_t kLowestPrivatePid = 10000001;

std::optional<std::int64_t> ParseSigned(const std::string& text) {
    std::int64_t value = 0;
    const char* begin = text.data();
    while (begin != text.data() + text.size() && (*begin == ' ' || *begin == '\t')) {
        ++begin;
    }
    const auto [ptr, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (ec != std::errc() || ptr == begin) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint64_t> ParsePid(const std::string& text) {
    std::uint64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::int32_t PublicGroupListSize(const std::string& text) {
    constexpr std::int64_t kLargest = 255;
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(ParseSigned(text).value_or(0), 0, kLargest));
}

PublicGroupIdBanks LoadPublicGroupRanges(const xmlNode* limit) {
    PublicGroupIdBanks banks;
    for (std::size_t i = 0; i < banks.size(); ++i) {
        PublicGroupIdBank& bank = banks[i];
        const std::string index = std::to_string(i);
        const auto size = GetAttribute(limit, ("public_grp_info_lst_size" + index).c_str());
        bank.count = PublicGroupListSize(size.value_or("0"));
        bank.basePid =
            GetAttribute(limit, ("public_grp_info_start_pid" + index).c_str()).value_or("");
        const auto s = ParseSigned(bank.basePid);
        if (bank.count <= 0 || !s || *s < 0 || *s >= kPidLimit ||
            !(*s > kHighestPrivatePid || *s <= kLowestPrivatePid)) {
            continue;
        }
        // The display numbers start right after the PIDs' distance from either end of the range.
        const auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(*s) & 0xFFFFFFFFu);
        const auto c = std::abs(static_cast<std::int64_t>(static_cast<std::int32_t>(low + 1u)));
        if (c < 1297) {
            bank.firstNumber = static_cast<std::int32_t>(c + 1);
        } else if (*s <= kLowestPrivatePid) {
            bank.firstNumber = static_cast<std::int32_t>((kLowestPrivatePid - *s) + 1298);
        } else {
            continue;
        }
        bank.lastNumber = bank.firstNumber + bank.count - 1;
    }
    return banks;
}

std::string PublicGroupNumberToPid(const PublicGroupIdBanks& banks, std::int64_t number) {
    for (const PublicGroupIdBank& bank : banks) {
        if (!bank.InUse() || number < bank.firstNumber || number > bank.lastNumber) {
            continue;
        }
        const auto base = ParsePid(bank.basePid);
        const auto offset = static_cast<std::uint64_t>(number - bank.firstNumber);
        if (!base || *base < offset) {
            return {};
        }
        return std::to_string(*base - offset);
    }
    return {};
}

std::int64_t PidToPublicGroupNumber(const PublicGroupIdBanks& banks, const std::string& pid) {
    const auto value = ParsePid(pid);
    if (!value) {
        return 0;
    }
    for (const PublicGroupIdBank& bank : banks) {
        const auto base = ParsePid(bank.basePid);
        if (!bank.InUse() || !base) {
            continue;
        }
        const std::uint64_t span = static_cast<std::uint64_t>(bank.count) - 1;
        const std::uint64_t lowest = *base >= span ? *base - span : 0;
        if (lowest <= *value && *value <= *base) {
            return bank.firstNumber + static_cast<std::int64_t>(*base - *value);
        }
    }
    return 0;
}
