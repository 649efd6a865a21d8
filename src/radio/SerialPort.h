#pragma once

#include <memory>
#include <string>

#include "IByteStream.h"

class QSerialPort;

// The programming cable's serial port: 9600 baud, 8 data bits, no parity, one stop bit, no
// handshake, DTR and RTS held on, opened exclusively. Blocking calls only; the object belongs to
// the thread that created it (there is no event loop behind it).
class SerialPort final : public IByteStream {
  public:
    static constexpr int kByteTimeoutMs = 100;

    // Opening is construction; a port that failed to open reports !IsOpen() and its LastError().
    explicit SerialPort(const std::string& portName);
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    bool IsOpen() const override;
    unsigned LastError() const override { return m_lastError; }
    int Read(std::uint8_t* buffer, int count, bool waitForAll) override;
    int Write(const std::uint8_t* buffer, int count) override;
    void Purge() override;
    void ClearErrors() override;
    // Closes the port; true also when it was not open.
    bool Close();

  private:
    void NoteError();

    std::unique_ptr<QSerialPort> m_port;
    unsigned m_lastError = 0;
};
