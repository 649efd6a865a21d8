#include "CCliSession.h"

#include <iostream>
#include <string>

#include "AppStartup.h"
#include "CQMVVLTException.h"
#include "CTerminalPrompt.h"
#include "StringTable.h"
#include "Utility.h"

CCliSession::CCliSession(const CliContext& ctx, bool yesToAll)
    : m_yesToAll(yesToAll), m_verbose(ctx.verbose) {
    StartupResult startup = RunStartup();
    if (!startup.Ok()) {
        throw CQMVVLTException(startup.messageId, "qmvvlt-cli", 0, startup.detail);
    }
    m_app = std::move(startup.settings);
}

std::filesystem::path CCliSession::InstallPath() const {
    return Utility::GetInstallPath();
}

bool CCliSession::AskYesNo(int messageId) {
    return CTerminalPrompt::AskYesNo(LoadString(messageId), m_yesToAll);
}

void CCliSession::PrintError(int messageId, std::string_view fallback, std::string_view trace,
                             bool verbose) {
    const std::string text = LoadString(messageId);
    std::cerr << (text.empty() ? fallback : text) << '\n';
    // Why a file was refused belongs under the message, not only in the trace.
    if (const std::string_view reason = ExceptionReason(trace); !reason.empty()) {
        std::cerr << reason << '\n';
    }
    if (verbose && !trace.empty()) {
        std::cerr << "trace:" << trace << '\n';
    }
}

void CCliSession::ShowError(int messageId, const std::string& detail) {
    m_hadError = true;
    PrintError(messageId, detail, detail, m_verbose);
}
