#pragma once

#include <QObject>
#include <QStringList>

class CMainFrame;

// Profiles that reach the running program from outside (a later start, the desktop). They open
// from the event loop, never inside the handler that received them, and only while the main
// window takes commands: while a modal window or a radio command runs they wait, and open once
// the window is free again.
class CShellRequests : public QObject {
    Q_OBJECT
  public:
    explicit CShellRequests(CMainFrame& window);
    ~CShellRequests() override;

    // Keeps the files; they open (in order) once the event loop finds the window free.
    void Add(const QStringList& files);
    const QStringList& Pending() const { return m_pending; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool WindowBusy() const;
    void Schedule();
    void OpenPending();

    CMainFrame& m_window;
    QStringList m_pending;
    bool m_scheduled = false;
    bool m_opening = false;
    bool m_raise = false;
};
