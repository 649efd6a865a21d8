#include "CRequestParser.h"

#include "RadioFrame.h"

bool CRequestParser::Feed(std::uint8_t b) {
    if (m_frame.empty()) {
        if (b < 0xF2) {
            return false;  // not a length byte: noise on the line
        }
        m_frame.push_back(b);
        m_expected = b == 0xFF ? 0 : static_cast<std::size_t>(b & 0x0F) + 2;
        return false;
    }
    m_frame.push_back(b);
    if (m_frame[0] == 0xFF && m_frame.size() == 4) {
        const std::size_t n = m_frame[3];
        if (m_frame[2] != 0 || n < 15 || n > 123) {
            m_frame.clear();
            ++m_dropped;
            return false;
        }
        m_expected = n + 4;
    }
    if (m_expected != 0 && m_frame.size() == m_expected) {
        return Finish();
    }
    return false;
}

bool CRequestParser::Finish() {
    std::vector<std::uint8_t> frame;
    frame.swap(m_frame);
    m_expected = 0;
    const std::span<const std::uint8_t> body(frame.data(), frame.size() - 1);
    if (frame[1] != kRequestMarker || FrameChecksum(body) != frame.back()) {
        ++m_dropped;
        return false;
    }
    const std::size_t opcodeAt = frame[0] == 0xFF ? 4 : 2;
    m_last.opcode = frame[opcodeAt];
    m_last.data.assign(frame.begin() + static_cast<std::ptrdiff_t>(opcodeAt) + 1, frame.end() - 1);
    m_last.frame = std::move(frame);
    return true;
}
