#include "RadioFrame.h"

#include <algorithm>

std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes) {
        sum += b;
    }
    return static_cast<std::uint8_t>(0xFF - (sum & 0xFF));
}

std::size_t ComposeRequest(std::uint8_t opcode, std::span<const std::uint8_t> data,
                           std::span<std::uint8_t, kMaxRequestFrame> frame) {
    if (data.size() > kMaxRequestData) {
        return 0;
    }
    const std::size_t n = data.size() + 2;
    std::size_t pos = 0;
    if (n <= 14) {
        frame[pos++] = static_cast<std::uint8_t>(0xF0 + n);
        frame[pos++] = kRequestMarker;
    } else {
        frame[pos++] = 0xFF;
        frame[pos++] = kRequestMarker;
        frame[pos++] = 0x00;
        frame[pos++] = static_cast<std::uint8_t>(n);
    }
    frame[pos++] = opcode;
    std::copy(data.begin(), data.end(), frame.begin() + static_cast<std::ptrdiff_t>(pos));
    pos += data.size();
    frame[pos] = FrameChecksum(frame.first(pos));
    return pos + 1;
}
