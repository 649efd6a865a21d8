#include "SerialPort.h"

#include <unistd.h>

#include <QSerialPort>
#include <QString>
#include <chrono>
#include <filesystem>

#include "MessageId.h"
#include "StringTable.h"

namespace {
// Write time-out: a constant allowance plus the bytes' time on the wire at 9600 baud.
constexpr int kWriteConstantMs = 120;
constexpr int kWirePerByteMs = 2;

bool IsFatal(QSerialPort::SerialPortError error) {
    return error == QSerialPort::ResourceError || error == QSerialPort::DeviceNotFoundError ||
           error == QSerialPort::PermissionError || error == QSerialPort::OpenError;
}
// Why a port did not open, in the user's words: the device path is checked first, because Qt
// reports a missing path, a folder and a file alike.
std::string DescribeOpenFailure(const std::string& path, const QSerialPort& port) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (!fs::exists(status)) {
        return CStringTable::Instance().Format(MessageId::kNoSuchDevice, {path});
    }
    if (fs::is_directory(status)) {
        return CStringTable::Instance().Format(MessageId::kIsFolderNotSerial, {path});
    }
    if (fs::is_regular_file(status)) {
        return CStringTable::Instance().Format(MessageId::kIsRegularFileNot, {path});
    }
    if (port.error() == QSerialPort::PermissionError) {
        // Qt says "permission" also when another program holds the port's lock.
        if (::access(path.c_str(), R_OK | W_OK) != 0) {
            return CStringTable::Instance().Format(MessageId::kPermissionDeniedAccountNeeds,
                                                   {path});
        }
        return CStringTable::Instance().Format(MessageId::kIsBusyAnotherProgram, {path});
    }
    return CStringTable::Instance().Format(MessageId::kCannotBeOpened,
                                           {path, port.errorString().toStdString()});
}

}  // namespace

std::string SerialDevicePath(const std::string& portName) {
    if (portName.find('/') == std::string::npos || portName.front() == '/') {
        return portName;
    }
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(portName, ec);
    return ec ? portName : absolute.lexically_normal().string();
}

SerialPort::SerialPort(const std::string& portName) : m_port(std::make_unique<QSerialPort>()) {
    const std::string path = SerialDevicePath(portName);
    m_port->setPortName(QString::fromStdString(path));
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_lastError = static_cast<unsigned>(m_port->error());
        if (m_lastError == 0) {
            m_lastError = static_cast<unsigned>(QSerialPort::OpenError);
        }
        // Qt looks a bare name up under /dev.
        m_openProblem = DescribeOpenFailure(
            !path.empty() && path.front() == '/' ? path : "/dev/" + path, *m_port);
        return;
    }
    // Each step's own result is ignored: a pseudo-terminal, for one, has no modem lines.
    m_port->setBaudRate(QSerialPort::Baud9600);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(QSerialPort::NoFlowControl);
    m_port->setDataTerminalReady(true);
    m_port->setRequestToSend(true);
    m_port->setReadBufferSize(4096);
    m_port->clear(QSerialPort::AllDirections);
    m_port->clearError();
}

SerialPort::~SerialPort() {
    Close();
}

bool SerialPort::IsOpen() const {
    return m_port && m_port->isOpen();
}

void SerialPort::NoteError() {
    const auto error = m_port->error();
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) {
        m_port->clearError();
        return;
    }
    m_lastError = static_cast<unsigned>(error);
    if (IsFatal(error)) {
        // The device is gone (the cable was pulled): nothing more will come from it.
        m_port->close();
    }
}

int SerialPort::Read(std::uint8_t* buffer, int count, bool waitForAll) {
    if (!IsOpen() || !buffer) {
        return 0;
    }
    if (!waitForAll) {
        // Data in the driver is seen only after the port has looked at it.
        if (m_port->bytesAvailable() == 0) {
            m_port->waitForReadyRead(0);
        }
        count = std::min<int>(count, static_cast<int>(m_port->bytesAvailable()));
    }
    if (count <= 0) {
        return 0;
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(count * kByteTimeoutMs);
    int got = 0;
    while (got < count) {
        if (m_port->bytesAvailable() == 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0 || !m_port->waitForReadyRead(static_cast<int>(left.count()))) {
                NoteError();
                break;
            }
            continue;
        }
        const auto n = m_port->read(reinterpret_cast<char*>(buffer + got), count - got);
        if (n < 0) {
            NoteError();
            break;
        }
        got += static_cast<int>(n);
    }
    return got;
}

int SerialPort::Write(const std::uint8_t* buffer, int count) {
    if (!IsOpen() || !buffer || count <= 0) {
        return 0;
    }
    const auto n = m_port->write(reinterpret_cast<const char*>(buffer), count);
    if (n < 0) {
        NoteError();
        return 0;
    }
    const int timeout = kWriteConstantMs + count * kWirePerByteMs;
    while (m_port->bytesToWrite() > 0) {
        if (!m_port->waitForBytesWritten(timeout)) {
            NoteError();
            return static_cast<int>(n - m_port->bytesToWrite());
        }
    }
    return static_cast<int>(n);
}

void SerialPort::Purge() {
    if (IsOpen()) {
        m_port->clear(QSerialPort::AllDirections);
    }
}

void SerialPort::ClearErrors() {
    if (IsOpen()) {
        m_port->clearError();
        m_lastError = 0;
    }
}

bool SerialPort::Close() {
    if (IsOpen()) {
        m_port->clear(QSerialPort::AllDirections);
        m_port->close();
    }
    return true;
}
