#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;
class QWidget;

// Lets a test that runs the built program as a process of its own see and answer it, where no
// display or accessibility bus is there to do it. Made only when the environment variable
// QMVVLT_TEST_PROBE is set. It writes one line to standard output for every modal window shown
// ("modal " and the message or title) and for every change of the main window's title ("title "
// and the title); the line "answer" on standard input presses the default button of the modal
// window on top, then writes "answered".
class CTestProbe : public QObject {
    Q_OBJECT
  public:
    explicit CTestProbe(QWidget& window);
    ~CTestProbe() override;

    static bool Wanted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ReadCommands();
    static void Say(const QString& line);

    QWidget& m_window;
    QSocketNotifier* m_input;
    QByteArray m_pending;
};
