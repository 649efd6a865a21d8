#include "CRadioSimServer.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "RadioProtocol.h"

namespace {
using Clock = std::chrono::steady_clock;
// One byte of 8-N-1 at 9600 baud is ten bits: 960 bytes a second.
constexpr auto kByteTime = std::chrono::nanoseconds(1000000000 / 960);
}  // namespace

CRadioSimServer::CRadioSimServer(ISimRadio& radio, CPseudoTerminal& line, bool pace, Log log)
    : m_radio(radio), m_line(line), m_pace(pace), m_log(std::move(log)) {}

CRadioSimServer::~CRadioSimServer() {
    Stop();
}

void CRadioSimServer::Start() {
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
}

void CRadioSimServer::Stop() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CRadioSimServer::Run(const std::atomic<bool>* interrupted) {
    std::uint8_t buffer[256];
    Clock::time_point firstByte{};
    bool inFrame = false;
    while (!m_stop && !(interrupted && *interrupted) && m_line.IsOpen()) {
        pollfd fd{m_line.MasterFd(), POLLIN, 0};
        if (::poll(&fd, 1, 50) <= 0 || !(fd.revents & POLLIN)) {
            continue;
        }
        const auto n = ::read(m_line.MasterFd(), buffer, sizeof buffer);
        if (n <= 0) {
            continue;
        }
        m_bytesIn += n;
        for (ssize_t i = 0; i < n && m_line.IsOpen(); ++i) {
            if (!inFrame) {
                firstByte = Clock::now();
                inFrame = true;
            }
            if (m_parser.Feed(buffer[i])) {
                inFrame = false;
                Serve(m_parser.Last(), firstByte);
            }
        }
    }
}

void CRadioSimServer::Serve(const CRequestParser::Request& request, Clock::time_point firstByte) {
    Note("PC>", request.frame);
    if (m_pace) {
        // The request is complete only when its last byte has crossed the wire.
        std::this_thread::sleep_until(firstByte + kByteTime * request.frame.size());
    }
    const auto reply = m_radio.Handle(request.opcode, request.data);
    ++m_frames;
    if (m_radio.HungUp()) {
        if (m_log) {
            m_log("line hung up");
        }
        m_line.HangUp();
        return;
    }
    if (reply.empty()) {
        if (m_log) {
            m_log("(no reply)");
        }
        return;
    }
    if (request.opcode == kOpFinishWrite) {
        std::this_thread::sleep_for(std::chrono::milliseconds(m_radio.FinishDelayMs()));
    }
    Send(reply);
    Note("RADIO>", reply);
}

void CRadioSimServer::Send(const std::vector<std::uint8_t>& bytes) {
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (sent < bytes.size() && m_line.IsOpen()) {
        std::size_t chunk = bytes.size() - sent;
        if (m_pace) {
            // A byte is there when its last bit has arrived.
            std::this_thread::sleep_until(start + kByteTime * (sent + 1));
            chunk = 1;
        }
        const auto n = ::write(m_line.MasterFd(), bytes.data() + sent, chunk);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            return;
        }
        sent += static_cast<std::size_t>(n);
        m_bytesOut += n;
    }
}

void CRadioSimServer::Note(const char* direction, const std::vector<std::uint8_t>& bytes) const {
    if (!m_log) {
        return;
    }
    std::string line = direction;
    char hex[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    m_log(line);
}
