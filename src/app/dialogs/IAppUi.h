#pragma once

#include <QString>
#include <QUrl>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "IDocumentUi.h"
#include "IViewUi.h"

// Everything the desktop program asks of the user, in one place so tests can answer it: the
// document's questions, the views' messages, file choices and the save-changes question.
class IAppUi : public IDocumentUi, public IViewUi {
  public:
    // A message of the string table with an OK button.
    virtual void Inform(int messageId, const std::string& detail = {}) = 0;
    virtual std::optional<std::string> AskOpenPath(const QString& filter) = 0;
    virtual std::optional<std::string> AskSavePath(const std::string& proposed,
                                                   const QString& filter) = 0;
    // Yes/No/Cancel for closing a modified document (MessageStyle button codes).
    virtual int AskSaveChanges(const QString& documentName) = 0;
    // The template to start a new profile from (name without ".lam"); nothing when cancelled.
    virtual std::optional<std::string> AskTemplate(const std::filesystem::path& installPath) = 0;
    // Opens a help page in the desktop's browser; false when that failed.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // Profiles whose unsaved changes a program that ended without closing them left behind:
    // true to restore them, false to discard the changes.
    virtual bool AskRestoreUnsaved(const std::vector<std::string>& profiles) = 0;
};
