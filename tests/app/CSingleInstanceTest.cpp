#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDataStream>
#include <QDir>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include "CSingleInstance.h"

namespace {

// Each test its own socket, so parallel test runs never meet.
class SingleInstanceTest : public testing::Test {
  protected:
    QString Name() const { return dir.filePath("instance"); }

    // The second process's side, run on a thread of its own so that this thread's event loop can
    // serve the running instance.
    bool HandOverFromAnotherThread(const QStringList& files) {
        bool took = false;
        QThread* client =
            QThread::create([&] { took = CSingleInstance(nullptr, Name()).TryHandOver(files); });
        QSignalSpy finished(client, &QThread::finished);
        client->start();
        EXPECT_TRUE(finished.wait(10000));
        delete client;
        return took;
    }

    QTemporaryDir dir;
};

TEST_F(SingleInstanceTest, TheRunningInstanceGetsCanonicalPaths) {
    CSingleInstance running(nullptr, Name());
    ASSERT_TRUE(running.Listen());
    QSignalSpy requested(&running, &CSingleInstance::filesRequested);
    QFile(dir.filePath("a b.lam")).open(QIODevice::WriteOnly);
    QDir(dir.path()).mkdir("sub");
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QStringList given = {"./sub/../a b.lam", dir.filePath("missing.lam")};

    EXPECT_TRUE(HandOverFromAnotherThread(given));
    QDir::setCurrent(cwd);
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(
        requested[0][0].toStringList(),
        QStringList({QDir(dir.path()).canonicalPath() + "/a b.lam", dir.filePath("missing.lam")}));
}

TEST_F(SingleInstanceTest, NobodyListeningMeansNoHandOver) {
    EXPECT_FALSE(CSingleInstance(nullptr, Name()).TryHandOver({"x.lam"}));
}

TEST_F(SingleInstanceTest, ASocketLeftByACrashIsReplaced) {
    // What a killed instance leaves: the socket file with nobody behind it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = Name().toLocal8Bit();
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof(address.sun_path));
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(Name()));

    CSingleInstance restarted(nullptr, Name());
    ASSERT_TRUE(restarted.Listen());
    QSignalSpy requested(&restarted, &CSingleInstance::filesRequested);
    EXPECT_TRUE(HandOverFromAnotherThread({}));
    EXPECT_EQ(requested.count(), 1);
}

TEST_F(SingleInstanceTest, ALiveInstanceIsNeverDisplacedNorBrokenByGarbage) {
    CSingleInstance running(nullptr, Name());
    ASSERT_TRUE(running.Listen());
    EXPECT_FALSE(CSingleInstance(nullptr, Name()).Listen());

    // Requests no instance sends are dropped without reaching the program.
    const auto bytes = [](const auto&... values) {
        QByteArray b;
        QDataStream out(&b, QIODevice::WriteOnly);
        (out << ... << values);
        return b;
    };
    const QByteArray hugeList = bytes(quint32(0x7FFFFFFF), QString("a"));
    const QByteArray oddString = bytes(quint32(1), quint32(3), quint16('a'));
    const struct {
        const char* name;
        quint32 announced;  // the size header
        QByteArray body;
    } requests[] = {
        {"announces 4 GiB", 0xFFFFFFF0u, QByteArray(4, '\0')},
        {"a list of 2^31 names", quint32(hugeList.size()), hugeList},
        {"a name of odd byte length", quint32(oddString.size()), oddString},
    };
    QSignalSpy requested(&running, &CSingleInstance::filesRequested);
    for (const auto& r : requests) {
        QLocalSocket peer;
        peer.connectToServer(Name());
        ASSERT_TRUE(peer.waitForConnected(1000)) << r.name;
        QDataStream header(&peer);
        header << r.announced;
        peer.write(r.body);
        peer.flush();
        QSignalSpy dropped(&peer, &QLocalSocket::disconnected);
        EXPECT_TRUE(dropped.wait(5000)) << r.name;
        EXPECT_EQ(requested.count(), 0) << r.name;
    }

    EXPECT_TRUE(HandOverFromAnotherThread({dir.filePath("p.lam")}));
    EXPECT_EQ(requested.count(), 1);
}

}  // namespace
