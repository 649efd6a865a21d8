#include "CCliSession.h"

#include <unistd.h>

#include <iostream>
#include <string>

#include "AppStartup.h"
#include "CQMVVLTException.h"
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
    const std::string question = LoadString(messageId);
    if (m_yesToAll) {
        std::cerr << question << " [y/N] y (--yes)\n";
        return true;
    }
    if (!isatty(STDIN_FILENO)) {
        std::cerr << question << " [y/N] n (no terminal)\n";
        return false;
    }
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void CCliSession::ShowError(int messageId, const std::string& detail) {
    m_hadError = true;
    const std::string text = LoadString(messageId);
    std::cerr << (text.empty() ? detail : text) << '\n';
    if (m_verbose && !detail.empty()) {
        std::cerr << "trace:" << detail << '\n';
    }
}
