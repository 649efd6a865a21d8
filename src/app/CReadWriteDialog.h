#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "CTransferContext.h"
#include "ITransferObserver.h"

class CTransferRun;
class CTransferSignals;
class IAppUi;
class QLabel;
class QProgressBar;
class QPushButton;

// Shows a whole-codeplug read or write while it runs on a worker: the progress bar, the status
// line, the write's warnings asked here on the GUI thread while the worker waits, Cancel that stops
// the worker at its next step, and OK once it succeeded. After a write, "Write Next Radio" ends the
// dialog with kWriteNext so the caller can start the same write for the next radio.
class CReadWriteDialog : public QDialog {
    Q_OBJECT
  public:
    enum Mode { kWriteMode = 0, kReadMode = 1 };
    static constexpr int kWriteNext = 2;

    // operation runs on the worker; setPane shows a text in the status bar's port pane ("" puts
    // the port back). seriesCount > 0 counts the radios written in a series, shown on success.
    CReadWriteDialog(Mode mode, CTransferContext& context, std::function<int()> operation,
                     IAppUi& ui, std::function<void(const QString&)> setPane, QString port,
                     QWidget* parent, int seriesCount = 0);
    ~CReadWriteDialog() override;

    // Starts the worker and runs the dialog; the dialog's code (Accepted, Rejected, kWriteNext).
    int Run();
    // The operation's result code once the worker ended (kUserCancelled before).
    int Result() const { return m_result; }

    QProgressBar* ProgressBar() const { return m_progress; }
    QLabel* StatusText() const { return m_status; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* NextButton() const { return m_next; }

    void reject() override;

    // The question a worker's warning asks.
    static int WarningMessage(TransferWarning warning);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnDone();
    void OnFailed(int code);
    void OnWarning(TransferWarning warning);
    void RequestCancel();

    Mode m_mode;
    CTransferContext& m_context;
    std::function<int()> m_operation;
    IAppUi& m_ui;
    std::function<void(const QString&)> m_setPane;
    QString m_port;
    int m_seriesCount;
    int m_result = -12;
    bool m_finished = false;
    bool m_succeeded = false;
    CTransferSignals* m_signals = nullptr;
    std::unique_ptr<CTransferRun> m_run;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_next = nullptr;
};
