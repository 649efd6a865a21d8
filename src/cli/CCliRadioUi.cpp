#include "CCliRadioUi.h"

#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "CliRadio.h"
#include "ITransferObserver.h"
#include "RadioResult.h"
#include "StringTable.h"

CCliRadioUi::CCliRadioUi(CCliSession& session, CTransferContext& context,
                         std::optional<std::string> password)
    : m_session(session), m_context(context), m_password(std::move(password)) {}

int CCliRadioUi::RunOperation(const std::function<int()>& operation) {
    return CliRadio::Run(m_context, operation,
                         [this](int warning) { return AnswerWarning(warning); });
}

bool CCliRadioUi::AnswerWarning(int warning) {
    switch (warning) {
        case kWarnRadioNotInProfile:
            return m_session.AskYesNo(10030);
        case kWarnNotSupported:
            return m_session.AskYesNo(10031);
        case kWarnChannelRemap:
            return m_session.AskYesNo(306);
        default:
            ShowMessage(LoadString(10032));
            return false;
    }
}

std::optional<std::string> CCliRadioUi::AskPassword() {
    if (m_password) {
        // --password is tried once; a wrong one is asked for on the terminal.
        std::optional<std::string> given = std::move(m_password);
        m_password.reset();
        return given;
    }
    if (!isatty(STDIN_FILENO)) {
        return std::nullopt;
    }
    std::cerr << "Please enter the password: " << std::flush;
    termios saved{};
    tcgetattr(STDIN_FILENO, &saved);
    termios silent = saved;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    std::string typed;
    const bool got = static_cast<bool>(std::getline(std::cin, typed));
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    std::cerr << "\n";
    return got ? std::optional(typed) : std::nullopt;
}

void CCliRadioUi::ShowMessage(const std::string& text) {
    std::cerr << text << "\n";
}

bool CCliRadioUi::ShowModifiedBandNotice() {
    std::cerr << LoadString(307) << "\n";
    return false;
}

int RadioExitStatus(int code) {
    return code == kRadioSuccess ? 0 : 100 + std::abs(code);
}
