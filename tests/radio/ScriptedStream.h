#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "IByteStream.h"

// A byte stream that answers each written frame with the next scripted reply and records every
// frame written. An empty input queue reads as an immediate time-out.
class CScriptedStream : public IByteStream {
  public:
    using Bytes = std::vector<std::uint8_t>;

    void AddReply(Bytes reply) { m_replies.push_back(std::move(reply)); }
    void AddReplies(const Bytes& reply, int times) {
        for (int i = 0; i < times; ++i) {
            AddReply(reply);
        }
    }

    bool IsOpen() const override { return m_open; }
    unsigned LastError() const override { return m_error; }
    int Read(std::uint8_t* buffer, int count, bool waitForAll) override {
        ++reads;
        int n = 0;
        while (n < count && !m_input.empty()) {
            buffer[n++] = m_input.front();
            m_input.pop_front();
        }
        (void)waitForAll;
        return n;
    }
    int Write(const std::uint8_t* buffer, int count) override {
        written.emplace_back(buffer, buffer + count);
        if (!m_replies.empty()) {
            m_input.insert(m_input.end(), m_replies.front().begin(), m_replies.front().end());
            m_replies.pop_front();
        }
        return count;
    }
    void Purge() override {
        ++purges;
        m_input.clear();
    }
    void ClearErrors() override {}

    void SetOpen(bool open) { m_open = open; }
    void SetError(unsigned error) { m_error = error; }

    std::vector<Bytes> written;
    int reads = 0;
    int purges = 0;

  private:
    bool m_open = true;
    unsigned m_error = 0;
    std::deque<Bytes> m_replies;
    std::deque<std::uint8_t> m_input;
};

// A reply frame as a radio sends it: lead byte, short or long form, checksum.
inline std::vector<std::uint8_t> MakeReply(std::uint8_t type, const std::vector<std::uint8_t>& data,
                                           bool longForm = false) {
    std::vector<std::uint8_t> frame{0x50};
    const std::size_t n = data.size() + 1;
    if (!longForm && n <= 14) {
        frame.push_back(static_cast<std::uint8_t>(0xF0 + n));
        frame.push_back(type);
    } else {
        frame.push_back(0xFF);
        frame.push_back(type);
        frame.push_back(static_cast<std::uint8_t>(n >> 8));
        frame.push_back(static_cast<std::uint8_t>(n & 0xFF));
    }
    frame.insert(frame.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (std::size_t i = 1; i < frame.size(); ++i) {
        sum += frame[i];
    }
    frame.push_back(static_cast<std::uint8_t>(0xFF - (sum & 0xFF)));
    return frame;
}
