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

    // Opening is construction; a port that failed to open reports !IsOpen(), its LastError() and
    // OpenProblem(). A relative device path is taken from the current folder.
    explicit SerialPort(const std::string& portName);
    ~SerialPort() override;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    bool IsOpen() const override;
    unsigned LastError() const override { return m_lastError; }
    std::string OpenProblem() const override { return m_openProblem; }
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
    std::string m_openProblem;
};

// The device path Qt should open for a port name: "COM3" and "ttyUSB0" stay names (Qt looks them
// up under /dev), a path with a folder part is made absolute against the current folder (Qt would
// otherwise read "x/radio" as "/dev/x/radio").
std::string SerialDevicePath(const std::string& portName);
