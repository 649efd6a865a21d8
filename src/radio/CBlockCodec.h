#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CVirtualCodeplug.h"

// The byte encodings of the codeplug blocks as they travel in the frames. Decoders take the reply
// data after the reply letter, read nothing beyond it and return kRadioSuccess, or
// kOperationFailed when the data end before the block does. Encoders replace out with the block
// and return kRadioSuccess, or kTextToRadio when one of its texts holds a character above U+00FF
// (the block then carries only its low bytes and must not be sent).
class CBlockCodec {
  public:
    static int DecodeVersion(std::span<const std::uint8_t> block, CVersionBlock& version);

    static int DecodeLimits(std::span<const std::uint8_t> block, CRadioLimits& limits);
    // What a radio sends for its limits (the virtual radio and the tests need it).
    static int EncodeLimits(const CRadioLimits& limits, std::vector<std::uint8_t>& out);

    static int DecodeSettings(std::span<const std::uint8_t> block, CRadioSettings& settings);
    static int EncodeSettings(const CRadioSettings& settings, std::vector<std::uint8_t>& out);

    // The record after the index and total bytes. A private contact's group list is rebuilt from
    // its parent groups and home group, and the home group position sent is stored back.
    static int DecodeContact(std::span<const std::uint8_t> block, CContactRecord& record);
    static int EncodeContact(CContactRecord& record, std::vector<std::uint8_t>& out);

    static int DecodeText(std::span<const std::uint8_t> block, std::u16string& text);
    static int EncodeText(std::u16string_view text, std::vector<std::uint8_t>& out);

    // The PID text after the capture status byte, at most 63 characters.
    static std::u16string DecodeCapturedPid(std::span<const std::uint8_t> block);

    // The value of a PID or decimal text, when it is 1 to 11 digits.
    static std::optional<std::uint64_t> DecimalValue(std::u16string_view text);
};
