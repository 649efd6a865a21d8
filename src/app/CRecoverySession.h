#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>

class CChildFrame;
class CMainFrame;

// Crash recovery for one running program. Its lock file in "recovered/" marks the recovery copies
// named after it as held by a running program; every profile window of the main window gets a
// recovery copy (CRecoveryCopy). At start, the copies whose program no longer runs are offered:
// Restore opens them as modified documents, Discard removes them.
class CRecoverySession : public QObject {
    Q_OBJECT
  public:
    explicit CRecoverySession(CMainFrame& window);
    ~CRecoverySession() override;

    // Asks through the window's UI about the copies no running program holds, if there are any.
    void OfferLeftCopies();

  private:
    void Track(CChildFrame* frame);

    CMainFrame& m_window;
    std::filesystem::path m_folder;
    QString m_name;  // names this program's lock and copies
    std::unique_ptr<QLockFile> m_lock;
    int m_copies = 0;
};
