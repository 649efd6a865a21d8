#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CVirtualCodeplug.h"

// The byte encodings of the codeplug blocks as they travel in the frames. Decoders take the reply
// data after the reply letter, read nothing beyond it and return kRadioSuccess, or
// kOperationFailed when the data end before the block does.
class CBlockCodec {
  public:
    static int DecodeVersion(std::span<const std::uint8_t> block, CVersionBlock& version);

    static int DecodeLimits(std::span<const std::uint8_t> block, CRadioLimits& limits);
    // What a radio sends for its limits (the virtual radio and the tests need it).
    static std::vector<std::uint8_t> EncodeLimits(const CRadioLimits& limits);

    static int DecodeSettings(std::span<const std::uint8_t> block, CRadioSettings& settings);
    static std::vector<std::uint8_t> EncodeSettings(const CRadioSettings& settings);

    // The record after the index and total bytes. A private contact's group list is rebuilt from
    // its parent groups and home group, and the home group position sent is stored back.
    static int DecodeContact(std::span<const std::uint8_t> block, CContactRecord& record);
    static std::vector<std::uint8_t> EncodeContact(CContactRecord& record);

    static int DecodeText(std::span<const std::uint8_t> block, std::u16string& text);
    static std::vector<std::uint8_t> EncodeText(std::u16string_view text);

    // The PID text after the capture status byte, at most 63 characters.
    static std::u16string DecodeCapturedPid(std::span<const std::uint8_t> block);

    // The value of a PID or decimal text, when it is 1 to 11 digits.
    static std::optional<std::uint64_t> DecimalValue(std::u16string_view text);
};
