#pragma once

#include <cstdint>
#include <string>

// The transport a RadioProtocol talks through: the serial port in the program, a scripted stream
// in the tests. Calls never throw; a short count is how a stream reports a time-out or failure.
class IByteStream {
  public:
    virtual ~IByteStream() = default;

    // False when the stream could not be opened or has been lost.
    virtual bool IsOpen() const = 0;
    // The error of the most recent failed call, 0 when none.
    virtual unsigned LastError() const = 0;
    // Why the stream could not be opened, as the user should read it; "" when it opened.
    virtual std::string OpenProblem() const { return {}; }

    // Reads up to count bytes. With waitForAll, waits for each byte up to the stream's per-byte
    // time-out; without it, takes only what is already waiting. Returns the bytes read.
    virtual int Read(std::uint8_t* buffer, int count, bool waitForAll) = 0;
    // Writes the bytes; returns how many went out.
    virtual int Write(const std::uint8_t* buffer, int count) = 0;
    // Discards whatever waits in either direction.
    virtual void Purge() = 0;
    // Clears the line error state.
    virtual void ClearErrors() = 0;
};
