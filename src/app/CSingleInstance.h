#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// One running program per user and configuration store: a later start hands its files to the
// running one over a local socket and ends.
class CSingleInstance : public QObject {
    Q_OBJECT
  public:
    // serverName: the socket to use; empty takes DefaultServerName().
    explicit CSingleInstance(QObject* parent = nullptr, QString serverName = {});
    ~CSingleInstance() override;

    // True when a running instance received the files (as canonical absolute paths; an empty
    // list asks it only to come to the front). Blocks for at most a few seconds.
    bool TryHandOver(const QStringList& files);
    // Starts receiving hand-overs; replaces a socket left behind by a crashed instance, never a
    // live one (then false).
    bool Listen();

    // A private per-user socket for the configuration store in use (so ask after --config has
    // been applied).
    static QString DefaultServerName();
    const QString& ServerName() const { return m_serverName; }

  signals:
    // Sent from the event loop once the sender has its answer, never from inside the socket's
    // handler: a receiver may run a nested event loop, in which the socket can go away.
    void filesRequested(QStringList files);

  private:
    void OnNewConnection();

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
