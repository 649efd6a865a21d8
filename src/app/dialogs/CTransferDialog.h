#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

#include "RadioResult.h"

class CTransferContext;
class CTransferRun;
class CTransferSignals;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

// What the transfer dialogs share: a group with the progress bar and the status line, OK (off
// until the operation succeeded) and Cancel, the worker's notifications on the GUI thread, and the
// status bar's port pane showing "Transferring" while the worker runs. While it runs, Escape,
// closing the window and Cancel all ask it to stop at its next step ("Canceling"); after success
// only OK ends the dialog.
class CTransferDialog : public QDialog {
    Q_OBJECT
  public:
    // Control ids of the buttons.
    enum ControlId : int { kOk = 1, kCancel = 2 };

    // setPane shows a text in the status bar's port pane; port is the text put back afterwards.
    CTransferDialog(CTransferContext& context, const QString& title,
                    std::function<void(const QString&)> setPane, QString port, QWidget* parent);
    ~CTransferDialog() override;

    QProgressBar* ProgressBar() const { return m_progress; }
    QLabel* StatusText() const { return m_status; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void reject() override;
    // The operation's result code once the dialog has ended.
    int Result() const { return m_result; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void RequestCancel();

    // Runs operation on a worker while the dialog is shown; the dialog's code. The operation's
    // result code is m_result afterwards.
    int RunWorker(std::function<int()> operation);
    // The success state: the bar full, title and status text, OK the default button.
    void ShowSucceeded(const QString& title, const QString& status);
    // The port back in the status bar's port pane.
    void ShowPort();

    virtual void OnDone() = 0;
    virtual void OnFailed(int code) = 0;

    CTransferContext& m_context;
    bool m_finished = false;
    int m_result = kUserCancelled;
    CTransferSignals* m_signals = nullptr;
    std::unique_ptr<CTransferRun> m_run;
    QVBoxLayout* m_groupLayout = nullptr;
    QHBoxLayout* m_buttons = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;

  private:
    std::function<void(const QString&)> m_setPane;
    QString m_port;
};
