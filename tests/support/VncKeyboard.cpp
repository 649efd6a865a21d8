#include "VncKeyboard.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLibraryInfo>
#include <QTcpServer>
#include <QThread>
#include <QtEndian>

quint16 VncKeyboard::FreePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

bool VncKeyboard::Available() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("*qvnc*")}).isEmpty();
}

bool VncKeyboard::Read(qint64 size, QByteArray& data, const QDeadlineTimer& deadline) {
    while (m_socket.bytesAvailable() < size) {
        if (deadline.hasExpired() ||
            !m_socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    data = m_socket.read(size);
    return true;
}

bool VncKeyboard::Connect(quint16 port, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    // The program listens once its platform is up; until then the connection is refused.
    for (;;) {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        if (m_socket.waitForConnected(1000)) {
            break;
        }
        m_socket.abort();
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(100);
    }
    QByteArray data;
    // Protocol version, then the security type the server chose (1: none).
    if (!Read(12, data, deadline) || !data.startsWith("RFB 003.")) {
        return false;
    }
    m_socket.write("RFB 003.003\n");
    if (!Read(4, data, deadline) || qFromBigEndian<quint32>(data.constData()) != 1) {
        return false;
    }
    // A shared session; the server describes its screen and its name.
    m_socket.write(QByteArray(1, '\1'));
    if (!Read(24, data, deadline)) {
        return false;
    }
    const quint32 nameLength = qFromBigEndian<quint32>(data.constData() + 20);
    return Read(nameLength, data, deadline);
}

void VncKeyboard::Send(bool down, quint32 keysym) {
    char event[8] = {4, static_cast<char>(down ? 1 : 0), 0, 0};
    qToBigEndian(keysym, event + 4);
    m_socket.write(event, sizeof event);
    m_socket.waitForBytesWritten(1000);
}

void VncKeyboard::Press(quint32 keysym) {
    Send(true, keysym);
    Send(false, keysym);
}

void VncKeyboard::PressWithControl(quint32 keysym) {
    Send(true, kControl);
    Press(keysym);
    Send(false, kControl);
}

void VncKeyboard::Type(const QString& text) {
    for (const QChar c : text) {
        Press(c.unicode());
    }
}
