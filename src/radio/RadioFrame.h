#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Request frames: short form [F0+n, 9B, opcode, data, checksum] for n <= 14, long form
// [FF, 9B, 00, n, opcode, data, checksum] for n <= 123, where n = data length + 2.
inline constexpr std::uint8_t kRequestMarker = 0x9B;
inline constexpr std::size_t kMaxRequestData = 121;
inline constexpr std::size_t kMaxRequestFrame = kMaxRequestData + 6;
inline constexpr std::uint8_t kReplyLead = 0x50;
inline constexpr std::uint8_t kReplyAck = 'A';

// One's complement of the 8-bit sum of the bytes.
std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes);

// Writes the request frame into frame; returns its length, or 0 when the data cannot be carried
// (nothing is then written).
std::size_t ComposeRequest(std::uint8_t opcode, std::span<const std::uint8_t> data,
                           std::span<std::uint8_t, kMaxRequestFrame> frame);
