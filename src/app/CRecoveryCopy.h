#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <filesystem>

class CChildFrame;

// The recovery copy of one profile window's document: kept while the document has unsaved
// changes, rewritten after each undo step (at most every few seconds), and removed when the
// document is saved, its changes are undone, or the window closes. Only a crash leaves it behind.
class CRecoveryCopy : public QObject {
    Q_OBJECT
  public:
    static constexpr int kMinIntervalMs = 3000;

    // Belongs to frame and goes with it; file: where the copy is kept.
    CRecoveryCopy(CChildFrame& frame, std::filesystem::path file);
    ~CRecoveryCopy() override;

    const std::filesystem::path& File() const { return m_file; }

  private:
    void Update();
    void Write();
    void Remove();

    CChildFrame& m_frame;
    std::filesystem::path m_file;
    QTimer m_due;
    QElapsedTimer m_lastWrite;
};
