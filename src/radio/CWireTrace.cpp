#include "CWireTrace.h"

#include <cstdio>
#include <ctime>

#include "RadioFrame.h"
#include "RadioProtocol.h"

namespace {

// "2026-12-09 14:03:07.125", local time.
std::string Stamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + n, sizeof text - n, ".%03d", static_cast<int>(ms));
    return text;
}

std::string Attempt(int attempt, int attempts) {
    return "attempt " + std::to_string(attempt) + "/" + std::to_string(attempts);
}

}  // namespace

CWireTrace::CWireTrace(const std::filesystem::path& path)
    : m_path(path), m_out(path, std::ios::binary | std::ios::trunc) {
    m_open = static_cast<bool>(m_out);
}

std::string CWireTrace::Hex(std::span<const std::uint8_t> bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

void CWireTrace::Note(std::string_view text) {
    std::lock_guard lock(m_mutex);
    if (m_open) {
        m_out << Stamp() << " -- " << text << "\n" << std::flush;
    }
}

void CWireTrace::Sent(std::uint8_t opcode, std::span<const std::uint8_t> frame, int attempt,
                      int attempts, bool complete) {
    std::string marks;
    if (attempt > 1) {
        marks = "retry, " + Attempt(attempt, attempts);
    }
    if (!complete) {
        marks += std::string(marks.empty() ? "" : ", ") + "send failed";
    }
    Line("TX", RadioCommandName(opcode), marks, frame);
}

void CWireTrace::Received(std::uint8_t opcode, std::span<const std::uint8_t> bytes, int result,
                          int attempt, int attempts) {
    std::string marks;
    if (result < 0) {
        marks = "bad checksum";
    } else if (result == 0) {
        // Without a lead byte the radio did answer, but not with a reply frame.
        marks = !bytes.empty() && bytes[0] != kReplyLead ? "no reply frame" : "time-out";
    }
    if (result <= 0) {
        marks += ", " + Attempt(attempt, attempts) + (attempt < attempts ? "" : ", giving up");
    }
    Line("RX", RadioCommandName(opcode), marks, bytes);
}

void CWireTrace::Line(std::string_view direction, std::string_view command,
                      const std::string& marks, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(m_mutex);
    if (!m_open) {
        return;
    }
    char head[64];
    std::snprintf(head, sizeof head, " %.*s %-16.*s", static_cast<int>(direction.size()),
                  direction.data(), static_cast<int>(command.size()), command.data());
    m_out << Stamp() << head;
    if (!marks.empty()) {
        m_out << " [" << marks << "]";
    }
    if (!bytes.empty()) {
        m_out << " " << Hex(bytes);
    }
    m_out << "\n" << std::flush;
}
