#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <QTcpSocket>

// The keyboard of a program started on Qt's VNC platform (QT_QPA_PLATFORM=vnc:port=N), so that a
// test drives the built program from outside as a user at its keyboard would: a minimal RFB 3.3
// client that sends key events only.
class VncKeyboard {
  public:
    // X keysyms of the keys the tests press.
    static constexpr quint32 kReturn = 0xff0d;
    static constexpr quint32 kDown = 0xff54;
    static constexpr quint32 kF2 = 0xffbf;
    static constexpr quint32 kControl = 0xffe3;

    // A TCP port of this machine that nothing listens on now.
    static quint16 FreePort();
    // True when this Qt has the VNC platform.
    static bool Available();

    // Connects to the program's port and completes the handshake; the program answers only once
    // its event loop runs. False after timeoutMs.
    bool Connect(quint16 port, int timeoutMs = 20000);
    // Presses and releases a key.
    void Press(quint32 keysym);
    // Presses a key with Control held.
    void PressWithControl(quint32 keysym);
    // Types Latin-1 text, key by key.
    void Type(const QString& text);

  private:
    void Send(bool down, quint32 keysym);
    bool Read(qint64 size, QByteArray& data, const QDeadlineTimer& deadline);

    QTcpSocket m_socket;
};
