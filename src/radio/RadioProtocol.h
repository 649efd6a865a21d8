#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "CReplyReceiver.h"
#include "IByteStream.h"

// Opcodes of the command set.
enum RadioOpcode : std::uint8_t {
    kOpGetVersion = 0x25,
    kOpOpenLink = 0x26,
    kOpReadLimits = 0x27,
    kOpReadSettings = 0x28,
    kOpWriteSettings = 0x29,
    kOpReadContact = 0x30,
    kOpWriteContact = 0x31,
    kOpReadTextMessage = 0x32,
    kOpWriteTextMessage = 0x33,
    kOpFinishWrite = 0x36,
    kOpResetRadio = 0x37,
    kOpStartIdCapture = 0x38,
    kOpPollIdCapture = 0x39,
};

// The command an opcode stands for ("GetVersion"); "Unknown" for an opcode outside the set.
const char* RadioCommandName(std::uint8_t opcode);

class CWireTrace;

// The reply that ended the last exchange.
struct RadioReply {
    std::uint8_t type = 0;
    std::uint32_t value = 0;
    std::size_t length = 0;  // data bytes, the reply letter included
    std::array<std::uint8_t, CReplyReceiver::kMaxData> data{};

    std::span<const std::uint8_t> Data() const { return {data.data(), length}; }
};

// Maps an exchange result r with the reply's type and data into a result code. A positive r is
// returned only for an 'S' reply with status 2.
int ClassifyReply(int r, std::uint8_t type, std::span<const std::uint8_t> data);

// The request-reply protocol over a byte stream. Each command sends one request and returns
// kRadioSuccess when the expected reply came, else a negative result code; retries stay inside one
// exchange (3 attempts, each byte tried 3 times).
class RadioProtocol {
  public:
    explicit RadioProtocol(IByteStream* stream) : m_stream(stream) {}
    virtual ~RadioProtocol() = default;
    // The stream of the next exchanges (nullptr: every exchange fails with -1).
    void SetStream(IByteStream* stream) { m_stream = stream; }

    // Where every frame of the next exchanges is recorded (nullptr: nowhere).
    void SetTrace(CWireTrace* trace) { m_trace = trace; }

    // The pause before the reply of FinishWrite is read (the radio commits its memory meanwhile).
    void SetFinishPause(std::chrono::milliseconds pause) { m_finishPause = pause; }

    int GetVersion() { return Command(kOpGetVersion, {}, 'E'); }
    int OpenLink() { return Command(kOpOpenLink, {}, 'P'); }
    int ReadLimits() { return Command(kOpReadLimits, {}, 'F'); }
    int ReadSettings() { return Command(kOpReadSettings, {}, 'G'); }
    int WriteSettings(std::span<const std::uint8_t> block) {
        return Command(kOpWriteSettings, block, 'P');
    }
    int ReadContact(std::uint8_t index, std::uint8_t total);
    int WriteContact(std::uint8_t index, std::uint8_t total, std::span<const std::uint8_t> record);
    int ReadTextMessage(std::uint8_t index, std::uint8_t total);
    int WriteTextMessage(std::uint8_t index, std::uint8_t total,
                         std::span<const std::uint8_t> text);
    int FinishWrite() { return Command(kOpFinishWrite, {}, 'P', true); }
    int ResetRadio() { return Command(kOpResetRadio, {}, 'P'); }
    int StartIdCapture() { return Command(kOpStartIdCapture, {}, 'S'); }
    // Succeeds only with status 2 (a PID was captured); status 1 gives kTimedOut.
    int PollIdCapture();

    // The reply of the last command.
    const RadioReply& Reply() const { return m_reply; }
    // The last low-level failure: -10 missing lead byte, -11 checksum mismatch.
    int Detail() const { return m_detail; }

    // One request-reply exchange: the number of reply data bytes (> 0), 0 when no reply came,
    // -1 when the port failed or the checksum was wrong, -2 when the frame could not be composed.
    int Exchange(std::uint8_t opcode, std::span<const std::uint8_t> data, bool wait);

  private:
    int Command(std::uint8_t opcode, std::span<const std::uint8_t> data, std::uint8_t letter,
                bool wait = false, int status = -1);
    int Receive();
    bool ReadByte(std::uint8_t& b);
    void Pause(std::chrono::milliseconds pause) const;

    IByteStream* m_stream;
    CWireTrace* m_trace = nullptr;
    std::vector<std::uint8_t> m_wire;  // the bytes of the reply being received, while tracing
    std::chrono::milliseconds m_finishPause{4000};
    CReplyReceiver m_receiver;
    RadioReply m_reply;
    int m_detail = 0;
};
