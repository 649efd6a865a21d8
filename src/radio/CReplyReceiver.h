#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The receive state machine for one reply frame, fed one byte at a time. It never stores more than
// its data buffer holds: a reply announcing more data than that is refused as no reply.
class CReplyReceiver {
  public:
    static constexpr std::size_t kMaxData = 121;  // the reply letter and 120 more bytes

    enum class Status { kMore, kComplete, kNoReply, kBadChecksum };

    CReplyReceiver() { Reset(); }
    void Reset();

    // Takes the next byte from the line; kMore asks for another one.
    Status Feed(std::uint8_t b);

    std::uint8_t Type() const { return m_type; }
    std::uint32_t Value() const { return m_value; }  // 24-bit value of types 0x80, 0x84, 0x85
    std::size_t DataLength() const { return m_length; }
    const std::array<std::uint8_t, kMaxData>& Data() const { return m_data; }
    // Why the last frame was refused: -10 missing lead byte, -11 checksum mismatch, 0 none.
    int Detail() const { return m_detail; }

  private:
    enum class State {
        kLead,
        kLength,
        kShortType,
        kLongType,
        kLengthHigh,
        kLengthLow,
        kValue1,
        kValue2,
        kValue3,
        kData,
        kChecksum,
    };

    Status EnterBody();
    Status StoreData(std::uint8_t b);

    State m_state = State::kLead;
    unsigned m_n = 0;
    unsigned m_sum = 0;
    std::uint8_t m_type = 0;
    std::uint32_t m_value = 0;
    std::size_t m_length = 0;
    int m_detail = 0;
    std::array<std::uint8_t, kMaxData> m_data{};
};
