#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "CTransferContext.h"

class CTransferRun;
class CTransferSignals;
class QLabel;
class QProgressBar;
class QPushButton;

// Captures another radio's private ID over the air while the user keys it up: progress while the
// worker polls, the failure in the status line (a timed-out capture turns the bar red), OK once a
// PID came in. After OK the PID is the context's captured PID.
class CReadPidDialog : public QDialog {
    Q_OBJECT
  public:
    // setPane shows a text in the status bar's port pane.
    CReadPidDialog(CTransferContext& context, std::string port,
                   std::function<void(const QString&)> setPane, QWidget* parent);
    ~CReadPidDialog() override;

    // Starts the capture and runs the dialog.
    int Run();
    std::u16string CapturedPid() const { return m_context.CapturedPid(); }

    QProgressBar* ProgressBar() const { return m_progress; }
    QLabel* StatusText() const { return m_status; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnDone();
    void OnFailed(int code);
    void RequestCancel();

    CTransferContext& m_context;
    std::string m_port;
    std::function<void(const QString&)> m_setPane;
    bool m_finished = false;
    CTransferSignals* m_signals = nullptr;
    std::unique_ptr<CTransferRun> m_run;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
