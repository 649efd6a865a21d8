#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "CAppSettings.h"
#include "CliContext.h"
#include "IDocumentUi.h"

// What the profile commands share: the start-up checks, the application's settings, and the
// document's questions answered on the terminal (or by --yes; No without a terminal).
class CCliSession : public IDocumentUi {
  public:
    // Runs the start-up checks; a failed one raises CQMVVLTException with its message.
    CCliSession(const CliContext& ctx, bool yesToAll);

    CAppSettings& App() { return *m_app; }
    std::filesystem::path InstallPath() const;

    // A failure on standard error: the string-table text of messageId (fallback when it has none),
    // the reason the trace gives on the next line, and with verbose the trace itself.
    static void PrintError(int messageId, std::string_view fallback, std::string_view trace,
                           bool verbose);

    bool AskYesNo(int messageId) override;
    void ShowError(int messageId, const std::string& detail) override;
    // Whether ShowError was called (the command then exits 2).
    bool HadError() const { return m_hadError; }

  private:
    std::unique_ptr<CAppSettings> m_app;
    bool m_yesToAll;
    bool m_verbose;
    bool m_hadError = false;
};
