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

void CCliSession::ShowError(int messageId, const std::string& detail) {
    m_hadError = true;
    const std::string text = LoadString(messageId);
    std::cerr << (text.empty() ? detail : text) << '\n';
    if (m_verbose && !detail.empty()) {
        std::cerr << "trace:" << detail << '\n';
    }
}
