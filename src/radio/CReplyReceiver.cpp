#include "CReplyReceiver.h"

#include "RadioFrame.h"

namespace {
constexpr int kDetailNoLead = -10;
constexpr int kDetailChecksum = -11;

bool HasValue(std::uint8_t type) {
    return type == 0x80 || type == 0x84 || type == 0x85;
}
}  // namespace

void CReplyReceiver::Reset() {
    m_state = State::kLead;
    m_n = 0;
    m_sum = 0;
    m_type = 0;
    m_value = 0;
    m_length = 0;
    m_detail = 0;
    m_data.fill(0);
}

// After the type (short form) or the length (long form): what follows depends on n.
CReplyReceiver::Status CReplyReceiver::EnterBody() {
    if (m_n <= 1) {
        m_state = State::kChecksum;
        return Status::kMore;
    }
    if (m_n - 1 > kMaxData) {
        return Status::kNoReply;
    }
    m_state = State::kData;
    return Status::kMore;
}

CReplyReceiver::Status CReplyReceiver::StoreData(std::uint8_t b) {
    if (m_length >= kMaxData) {
        return Status::kNoReply;
    }
    m_data[m_length++] = b;
    m_sum += b;
    --m_n;
    if (m_n <= 1) {
        m_state = State::kChecksum;
    }
    return Status::kMore;
}

CReplyReceiver::Status CReplyReceiver::Feed(std::uint8_t b) {
    switch (m_state) {
        case State::kLead:
            if (b != kReplyLead) {
                m_detail = kDetailNoLead;
                return Status::kNoReply;
            }
            m_state = State::kLength;
            return Status::kMore;
        case State::kLength:
            if (b == 0xFF) {
                m_sum = b;
                m_state = State::kLongType;
            } else if ((b & 0xF0) == 0xF0) {
                m_sum = b;
                m_n = b & 0x0Fu;
                m_state = State::kShortType;
            }
            // Anything else is line noise between the lead byte and the length byte.
            return Status::kMore;
        case State::kShortType:
            m_type = b;
            m_sum += b;
            return EnterBody();
        case State::kLongType:
            m_type = b;
            m_sum += b;
            m_state = State::kLengthHigh;
            return Status::kMore;
        case State::kLengthHigh:
            m_n = b * 256u;
            m_sum += b;
            m_state = State::kLengthLow;
            return Status::kMore;
        case State::kLengthLow:
            m_n += b;
            m_sum += b;
            if (m_n == 0) {
                m_state = State::kChecksum;
                return Status::kMore;
            }
            if (HasValue(m_type)) {
                // The value takes three of the n bytes besides the type.
                if (m_n < 4) {
                    return Status::kNoReply;
                }
                m_state = State::kValue1;
                return Status::kMore;
            }
            return EnterBody();
        case State::kValue1:
        case State::kValue2:
        case State::kValue3:
            m_value = ((m_value << 8) | b) & 0xFFFFFFu;
            m_sum += b;
            --m_n;
            if (m_state == State::kValue3) {
                return EnterBody();
            }
            m_state = m_state == State::kValue1 ? State::kValue2 : State::kValue3;
            return Status::kMore;
        case State::kData:
            return StoreData(b);
        case State::kChecksum:
            if (b != static_cast<std::uint8_t>(0xFF - (m_sum & 0xFF))) {
                m_detail = kDetailChecksum;
                return Status::kBadChecksum;
            }
            return Status::kComplete;
    }
    return Status::kNoReply;
}
