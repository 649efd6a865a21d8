#pragma once

#include <optional>
#include <string>

#include "CCliSession.h"
#include "CTransferContext.h"
#include "IRadioCommandUi.h"

// The radio commands' questions on the terminal: warnings and Yes/No through the session (--yes
// answers Yes, no terminal answers No), the password from --password first and then typed without
// echo, progress and Ctrl-C as every radio command has them.
class CCliRadioUi : public IRadioCommandUi {
  public:
    CCliRadioUi(CCliSession& session, CTransferContext& context,
                std::optional<std::string> password);

    int RunOperation(const std::function<int()>& operation) override;
    bool AskYesNo(int messageId) override { return m_session.AskYesNo(messageId); }
    std::optional<std::string> AskPassword() override;
    void ShowMessage(const std::string& text) override;
    bool ShowModifiedBandNotice() override;

  private:
    bool AnswerWarning(int warning);

    CCliSession& m_session;
    CTransferContext& m_context;
    std::optional<std::string> m_password;
};

// The exit status of a radio command's result: 0, or 100 + |code| (the message was shown).
int RadioExitStatus(int code);
