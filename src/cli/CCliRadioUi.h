#pragma once

#include <optional>
#include <string>

#include "CCliSession.h"
#include "CTransferContext.h"
#include "IRadioCommandUi.h"

// The radio commands' questions and outcomes on the terminal: warnings and Yes/No through the
// session (--yes answers Yes, no terminal answers No), the password from --password or
// QMVVLT_PASSWORD first and then typed without echo, a start line and a progress bar for the
// transfer, and each failure told once.
class CCliRadioUi : public IRadioCommandUi {
  public:
    CCliRadioUi(CCliSession& session, CTransferContext& context,
                std::optional<std::string> password);

    int RunOperation(RadioOperation which, const std::function<int()>& operation) override;
    bool AskYesNo(int messageId) override { return m_session.AskYesNo(messageId); }
    std::optional<std::string> AskPassword() override;
    void ShowMessage(const std::string& text) override;
    void ShowNote(const std::string& text) override;
    bool ShowModifiedBandNotice() override;

    // The exit status of a command's result; tells a failure that nothing has told yet (a
    // cancelled prompt or question).
    int ExitStatus(int code);

  private:
    bool AnswerWarning(TransferWarning warning);

    CCliSession& m_session;
    CTransferContext& m_context;
    std::optional<std::string> m_password;
    int m_lastOperationCode = 0;
};
