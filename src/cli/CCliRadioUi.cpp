#include "CCliRadioUi.h"

#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "CTerminalPrompt.h"
#include "CliRadio.h"
#include "ITransferObserver.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "StringTable.h"

CCliRadioUi::CCliRadioUi(CCliSession& session, CTransferContext& context,
                         std::optional<std::string> password)
    : m_session(session), m_context(context), m_password(std::move(password)) {
    if (!m_password) {
        // The environment keeps the password out of the process list.
        if (const char* fromEnvironment = std::getenv("QMVVLT_PASSWORD")) {
            m_password = fromEnvironment;
        }
    }
}

int CCliRadioUi::RunOperation(RadioOperation which, const std::function<int()>& operation) {
    const bool transfer = IsTransfer(which);
    // A backup and a read-back take as long as a read: they show their progress too.
    const bool wholeCodeplug =
        transfer || which == RadioOperation::kBackup || which == RadioOperation::kVerify;
    if (wholeCodeplug) {
        int line = MessageId::kVerifying;
        if (which == RadioOperation::kReadCodeplug) {
            line = MessageId::kReadingFromRadio;
        } else if (which == RadioOperation::kWriteCodeplug) {
            line = MessageId::kWritingToRadio;
        } else if (which == RadioOperation::kBackup) {
            line = MessageId::kBackingUp;
        }
        std::cerr << LoadString(line) << "\n";
    }
    const int code = CliRadio::Run(
        m_context, operation, [this](TransferWarning warning) { return AnswerWarning(warning); },
        wholeCodeplug);
    m_lastOperationCode = code;
    // The transfer is this front end's dialog: it tells its own failure.
    if (transfer && code != kRadioSuccess) {
        std::cerr << CliRadio::FailureText(code, m_context) << "\n";
    }
    return code;
}

bool CCliRadioUi::AnswerWarning(TransferWarning warning) {
    switch (warning) {
        case TransferWarning::kRadioNotInProfile:
            return m_session.AskYesNo(MessageId::kAskRadioNotInProfile);
        case TransferWarning::kNotSupported:
            return m_session.AskYesNo(MessageId::kAskDropUnsupported);
        case TransferWarning::kChannelRemap:
            return m_session.AskYesNo(MessageId::kAskRemapChannels);
    }
    ShowMessage(LoadString(MessageId::kUnknownWarning));
    return false;
}

std::optional<std::string> CCliRadioUi::AskPassword() {
    if (m_password) {
        // A given password is tried once; a wrong one is asked for on the terminal.
        std::optional<std::string> given = std::move(m_password);
        m_password.reset();
        return given;
    }
    if (!::isatty(STDIN_FILENO)) {
        ShowMessage(LoadString(MessageId::kPasswordNeeded));
        return std::nullopt;
    }
    std::cerr << LoadString(MessageId::kPasswordPrompt) << " " << std::flush;
    const auto typed = CTerminalPrompt::ReadLine(false);
    std::cerr << "\n";
    return typed;
}

void CCliRadioUi::ShowMessage(const std::string& text) {
    std::cerr << text << "\n";
}

void CCliRadioUi::ShowNote(const std::string& text) {
    std::cerr << text << "\n";
}

bool CCliRadioUi::ShowModifiedBandNotice() {
    std::cerr << LoadString(MessageId::kModifiedBandNotice) << "\n";
    return false;
}

int CCliRadioUi::ExitStatus(int code) {
    // A failed operation was told by the transfer or by the command; a cancel outside any
    // operation (a prompt, a question) is told here.
    if (code != kRadioSuccess && code != m_lastOperationCode) {
        std::cerr << CliRadio::FailureText(code, m_context) << "\n";
    }
    return CliRadio::StatusOf(code);
}
