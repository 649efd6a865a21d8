#pragma once

#include <functional>
#include <memory>

#include "CTransferContext.h"
#include "CTransferDialog.h"
#include "ITransferObserver.h"

class IAppUi;
class QPushButton;

// Shows a whole-codeplug read or write while it runs on a worker: the progress bar, the status
// line, the write's warnings asked here on the GUI thread while the worker waits, Cancel that stops
// the worker at its next step, and OK once it succeeded. After a write, "Write Next Radio" ends the
// dialog with kWriteNext so the caller can start the same write for the next radio.
class CReadWriteDialog : public CTransferDialog {
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

    QPushButton* NextButton() const { return m_next; }

    // The question a worker's warning asks.
    static int WarningMessage(TransferWarning warning);

  private:
    void OnDone() override;
    void OnFailed(int code) override;
    void OnWarning(TransferWarning warning);

    Mode m_mode;
    std::function<int()> m_operation;
    IAppUi& m_ui;
    int m_seriesCount;
    QPushButton* m_next = nullptr;
};
