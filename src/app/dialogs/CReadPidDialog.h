#pragma once

#include <functional>
#include <string>

#include "CTransferContext.h"
#include "CTransferDialog.h"

// Captures another radio's private ID over the air while the user keys it up: progress while the
// worker polls, the failure in the status line (a timed-out capture turns the bar red), OK once a
// PID came in. After OK the PID is the context's captured PID.
class CReadPidDialog : public CTransferDialog {
    Q_OBJECT
  public:
    // setPane shows a text in the status bar's port pane.
    CReadPidDialog(CTransferContext& context, std::string port,
                   std::function<void(const QString&)> setPane, QWidget* parent);
    ~CReadPidDialog() override;

    // Starts the capture and runs the dialog.
    int Run();
    std::u16string CapturedPid() const { return m_context.CapturedPid(); }

  private:
    void OnDone() override;
    void OnFailed(int code) override;

    std::string m_port;
};
