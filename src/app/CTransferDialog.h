#pragma once

#include <QDialog>
#include <memory>

class CTransferRun;
class CTransferSignals;
class QLabel;
class QProgressBar;
class QPushButton;

// What the transfer dialogs share: while the worker runs, Escape, closing the window and Cancel
// all ask it to stop at its next step ("Canceling"); after success only OK ends the dialog.
class CTransferDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CTransferDialog(QWidget* parent);
    ~CTransferDialog() override;

    QProgressBar* ProgressBar() const { return m_progress; }
    QLabel* StatusText() const { return m_status; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void RequestCancel();

    bool m_finished = false;
    CTransferSignals* m_signals = nullptr;
    std::unique_ptr<CTransferRun> m_run;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
