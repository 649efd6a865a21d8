#pragma once

#include <cstdint>
#include <vector>

// Assembles request frames from the bytes a programming cable delivers. Bytes that cannot start a
// frame are skipped; a frame with a wrong checksum or marker is dropped, as a radio would.
class CRequestParser {
  public:
    struct Request {
        std::uint8_t opcode = 0;
        std::vector<std::uint8_t> data;
        std::vector<std::uint8_t> frame;  // the whole frame as received
    };

    // Takes one byte; true when it completed a valid request, then available in Last().
    bool Feed(std::uint8_t b);
    const Request& Last() const { return m_last; }
    // Frames dropped for a bad checksum or marker.
    int Dropped() const { return m_dropped; }

  private:
    bool Finish();

    std::vector<std::uint8_t> m_frame;
    std::size_t m_expected = 0;  // total frame length once known
    Request m_last;
    int m_dropped = 0;
};
