#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <span>
#include <string_view>

// A wire trace for support: every frame that goes to the radio and every reply that comes back,
// one line each, with a millisecond time stamp, the direction (TX to the radio, RX from it), the
// command and the bytes in hexadecimal. Time-outs, bad replies and retries are marked in brackets.
// Each line is flushed at once, so a trace survives whatever happens to the program afterwards.
class CWireTrace {
  public:
    // Creates (or empties) the file; IsOpen() tells whether that worked.
    explicit CWireTrace(const std::filesystem::path& path);

    bool IsOpen() const { return m_open; }
    const std::filesystem::path& Path() const { return m_path; }

    // A line of its own, marked "--" (the port opening or closing, an operation starting).
    void Note(std::string_view text);
    // A request frame; complete is false when the port took less than the whole frame.
    void Sent(std::uint8_t opcode, std::span<const std::uint8_t> frame, int attempt, int attempts,
              bool complete);
    // The bytes read for one reply and how the receive ended: > 0 a valid reply, 0 no valid reply
    // in time, -1 a checksum mismatch.
    void Received(std::uint8_t opcode, std::span<const std::uint8_t> bytes, int result, int attempt,
                  int attempts);

    // "F2 9B 25 4D".
    static std::string Hex(std::span<const std::uint8_t> bytes);

  private:
    void Line(std::string_view direction, std::string_view command, const std::string& marks,
              std::span<const std::uint8_t> bytes);

    std::filesystem::path m_path;
    std::mutex m_mutex;
    std::ofstream m_out;
    bool m_open = false;
};
