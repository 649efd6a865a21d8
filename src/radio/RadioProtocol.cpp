#include "RadioProtocol.h"

#include <thread>

#include "CWireTrace.h"
#include "RadioFrame.h"
#include "RadioResult.h"

namespace {
constexpr int kAttempts = 3;      // attempts per exchange
constexpr int kByteAttempts = 3;  // reads per byte before the reply is given up
constexpr int kSendTries = 3;
}  // namespace

const char* RadioCommandName(std::uint8_t opcode) {
    switch (opcode) {
        case kOpGetVersion:
            return "GetVersion";
        case kOpOpenLink:
            return "OpenLink";
        case kOpReadLimits:
            return "ReadLimits";
        case kOpReadSettings:
            return "ReadSettings";
        case kOpWriteSettings:
            return "WriteSettings";
        case kOpReadContact:
            return "ReadContact";
        case kOpWriteContact:
            return "WriteContact";
        case kOpReadTextMessage:
            return "ReadTextMessage";
        case kOpWriteTextMessage:
            return "WriteTextMessage";
        case kOpFinishWrite:
            return "FinishWrite";
        case kOpResetRadio:
            return "ResetRadio";
        case kOpStartIdCapture:
            return "StartIdCapture";
        case kOpPollIdCapture:
            return "PollIdCapture";
        default:
            return "Unknown";
    }
}

int ClassifyReply(int r, std::uint8_t type, std::span<const std::uint8_t> data) {
    auto at = [&](std::size_t i) -> std::uint8_t { return i < data.size() ? data[i] : 0; };
    if (r == -1) {
        return kPortUnavailable;
    }
    if (r == -2) {
        return kMessageCompose;
    }
    if (r == 0) {
        return kNoConnection;
    }
    if (type == 0x8C && at(0) == 0) {
        return kFirmwareTooOld;
    }
    if (type != 'A') {
        return kInvalidOpcode;
    }
    if (at(0) == 'Q') {
        switch (at(2)) {
            case 0xFD:
                return kResetRequired;
            case 0xFE:
                return kRadioBusy;
            default:
                return kOperationFailed;
        }
    }
    if (at(0) == 'S') {
        switch (at(1)) {
            case 1:
                return kTimedOut;
            case 4:
                return kOperationUnsupported;
            case 2:
                return r;
            default:
                return kOperationFailed;
        }
    }
    return kUnsupportedCommand;
}

int RadioProtocol::ReadContact(std::uint8_t index, std::uint8_t total) {
    const std::uint8_t data[] = {index, total};
    return Command(kOpReadContact, data, 'H');
}

int RadioProtocol::ReadTextMessage(std::uint8_t index, std::uint8_t total) {
    const std::uint8_t data[] = {index, total};
    return Command(kOpReadTextMessage, data, 'I');
}

int RadioProtocol::WriteContact(std::uint8_t index, std::uint8_t total,
                                std::span<const std::uint8_t> record) {
    std::array<std::uint8_t, 256> data{};
    if (record.size() > data.size() - 2) {
        return kMessageCompose;
    }
    data[0] = index;
    data[1] = total;
    std::copy(record.begin(), record.end(), data.begin() + 2);
    return Command(kOpWriteContact, std::span(data).first(record.size() + 2), 'P');
}

int RadioProtocol::WriteTextMessage(std::uint8_t index, std::uint8_t total,
                                    std::span<const std::uint8_t> text) {
    std::array<std::uint8_t, 256> data{};
    if (text.size() > data.size() - 2) {
        return kMessageCompose;
    }
    data[0] = index;
    data[1] = total;
    std::copy(text.begin(), text.end(), data.begin() + 2);
    return Command(kOpWriteTextMessage, std::span(data).first(text.size() + 2), 'P');
}

int RadioProtocol::PollIdCapture() {
    return Command(kOpPollIdCapture, {}, 'S', false, 2);
}

int RadioProtocol::Command(std::uint8_t opcode, std::span<const std::uint8_t> data,
                           std::uint8_t letter, bool wait, int status) {
    const int r = Exchange(opcode, data, wait);
    const auto reply = m_reply.Data();
    if (r > 0 && m_reply.type == kReplyAck && reply[0] == letter &&
        (status < 0 || (reply.size() > 1 && reply[1] == status))) {
        return kRadioSuccess;
    }
    const int code = ClassifyReply(r, m_reply.type, reply);
    // A captured-PID status answering any other request is still not the reply asked for.
    return code > 0 ? kUnsupportedCommand : code;
}

int RadioProtocol::Exchange(std::uint8_t opcode, std::span<const std::uint8_t> data, bool wait) {
    m_reply = RadioReply{};
    std::array<std::uint8_t, kMaxRequestFrame> frame{};
    const std::size_t length = ComposeRequest(opcode, data, frame);
    if (length == 0) {
        return -2;
    }
    if (!m_stream || !m_stream->IsOpen() || m_stream->LastError() != 0) {
        return -1;
    }
    int result = 0;
    for (int attempt = 0; attempt < kAttempts && result <= 0; ++attempt) {
        m_stream->Purge();
        int sent = -1;
        for (int tries = 0; tries < kSendTries && sent < 0; ++tries) {
            sent = m_stream->Write(frame.data(), static_cast<int>(length));
        }
        if (m_trace) {
            m_trace->Sent(opcode, std::span(frame).first(length), attempt + 1, kAttempts,
                          sent == static_cast<int>(length));
        }
        if (sent != static_cast<int>(length)) {
            m_detail = static_cast<int>(m_stream->LastError());
            result = -1;
            if (!m_stream->IsOpen()) {
                break;
            }
            continue;
        }
        if (wait) {
            Pause(m_finishPause);
        }
        m_wire.clear();
        result = Receive();
        if (m_trace) {
            m_trace->Received(opcode, m_wire, result, attempt + 1, kAttempts);
        }
        if (!m_stream->IsOpen()) {
            break;
        }
    }
    m_stream->ClearErrors();
    return result;
}

bool RadioProtocol::ReadByte(std::uint8_t& b) {
    for (int i = 0; i < kByteAttempts; ++i) {
        if (m_stream->Read(&b, 1, true) == 1) {
            if (m_trace) {
                m_wire.push_back(b);
            }
            return true;
        }
        if (!m_stream->IsOpen()) {
            return false;
        }
    }
    return false;
}

int RadioProtocol::Receive() {
    m_receiver.Reset();
    std::uint8_t b = 0;
    while (ReadByte(b)) {
        switch (m_receiver.Feed(b)) {
            case CReplyReceiver::Status::kMore:
                continue;
            case CReplyReceiver::Status::kComplete:
                m_reply.type = m_receiver.Type();
                m_reply.value = m_receiver.Value();
                m_reply.length = m_receiver.DataLength();
                m_reply.data = m_receiver.Data();
                return static_cast<int>(m_reply.length);
            case CReplyReceiver::Status::kBadChecksum:
                m_detail = m_receiver.Detail();
                return -1;
            case CReplyReceiver::Status::kNoReply:
                if (m_receiver.Detail() != 0) {
                    m_detail = m_receiver.Detail();
                }
                return 0;
        }
    }
    return 0;
}

void RadioProtocol::Pause(std::chrono::milliseconds pause) const {
    std::this_thread::sleep_for(pause);
}
