#include "CSingleInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include "Utility.h"

namespace {

constexpr int kConnectMs = 1000;
constexpr int kReplyMs = 5000;
// Bounds what a peer can make the running program buffer.
constexpr qint64 kMaxRequestBytes = 1 << 20;
constexpr char kAck = '\x06';

QStringList CanonicalPaths(const QStringList& files) {
    QStringList paths;
    for (const QString& file : files) {
        const QFileInfo info(file);
        // A file that does not exist keeps its absolute name, so the running program can say so.
        const QString canonical = info.canonicalFilePath();
        paths << (canonical.isEmpty() ? info.absoluteFilePath() : canonical);
    }
    return paths;
}

}  // namespace

CSingleInstance::CSingleInstance(QObject* parent, QString serverName)
    : QObject(parent),
      m_serverName(serverName.isEmpty() ? DefaultServerName() : std::move(serverName)) {}

CSingleInstance::~CSingleInstance() = default;

QString CSingleInstance::DefaultServerName() {
    // Instances with different configuration stores (tests, --config) are different programs.
    const QByteArray store = QByteArray::fromStdString(Utility::StoreFiles().user.string());
    const QString id =
        QStringLiteral("qmvvlt-%1-%2")
            .arg(getuid())
            .arg(QString::fromLatin1(
                QCryptographicHash::hash(store, QCryptographicHash::Sha1).toHex().left(12)));
    // The runtime folder is private to the user; elsewhere Qt's own folder and the uid in the
    // name keep users apart.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? id : QDir(runtime).filePath(id);
}

bool CSingleInstance::TryHandOver(const QStringList& files) {
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kConnectMs)) {
        return false;
    }
    QByteArray request;
    QDataStream body(&request, QIODevice::WriteOnly);
    body << CanonicalPaths(files);
    QDataStream header(&socket);
    header << static_cast<quint32>(request.size());
    socket.write(request);
    if (!socket.waitForBytesWritten(kReplyMs)) {
        return false;
    }
    // Only the running instance's acknowledgement proves it took the files.
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(kReplyMs)) {
            return false;
        }
    }
    char reply = 0;
    return socket.getChar(&reply) && reply == kAck;
}

bool CSingleInstance::Listen() {
    if (m_server != nullptr && m_server->isListening()) {
        return true;
    }
    // Qt binds a private socket beside the name and renames it over whatever is there, so a live
    // instance has to be recognised before listening, not from a failed listen.
    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    if (probe.waitForConnected(kConnectMs)) {
        return false;
    }
    // Nobody answers: the name is free or left behind by an instance that crashed.
    QLocalServer::removeServer(m_serverName);
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    return m_server->listen(m_serverName);
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->property("done").toBool()) {
                return;
            }
            if (socket->bytesAvailable() < static_cast<qint64>(sizeof(quint32))) {
                return;
            }
            quint32 size = 0;
            QDataStream header(socket->peek(sizeof(quint32)));
            header >> size;
            if (size > kMaxRequestBytes) {
                socket->abort();
                return;
            }
            if (socket->bytesAvailable() < static_cast<qint64>(sizeof(quint32) + size)) {
                return;
            }
            socket->read(sizeof(quint32));
            QDataStream in(socket->read(size));
            quint32 count = 0;
            in >> count;
            // Each name takes at least its 4-byte length. A larger count is garbage, and reading
            // it as a list would reserve room for that many names before finding out.
            if (count > size / sizeof(quint32)) {
                socket->abort();
                return;
            }
            QStringList files;
            for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
                QString file;
                in >> file;
                files.append(file);
            }
            if (in.status() != QDataStream::Ok) {
                socket->abort();
                return;
            }
            socket->setProperty("done", true);
            socket->putChar(kAck);
            socket->flush();
            QMetaObject::invokeMethod(
                this, [this, files] { emit filesRequested(files); }, Qt::QueuedConnection);
        });
    }
}
