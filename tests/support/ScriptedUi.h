#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "IAppUi.h"
#include "ScriptedViewUi.h"

// Answers the desktop program's questions from a script and records every text it was shown.
class ScriptedUi : public ScriptedAnswers<IAppUi> {
  public:
    int saveChangesQuestions = 0;
    std::optional<std::string> savePath;
    std::optional<std::string> openPath;
    std::optional<std::string> templateName;
    bool openUrlResult = true;
    std::vector<QUrl> openedUrls;
    std::vector<std::vector<std::string>> offeredUnsaved;  // each restore question's profiles

    void Inform(int messageId, const std::string&) override {
        shown.push_back(LoadString(messageId));
    }
    std::optional<std::string> AskOpenPath(const QString&) override { return openPath; }
    std::optional<std::string> AskSavePath(const std::string&, const QString&) override {
        return savePath;
    }
    int AskSaveChanges(const QString&) override {
        ++saveChangesQuestions;
        return Next(MessageStyle::kIdCancel);
    }
    std::optional<std::string> AskTemplate(const std::filesystem::path&) override {
        return templateName;
    }
    bool OpenUrl(const QUrl& url) override {
        openedUrls.push_back(url);
        return openUrlResult;
    }
    bool AskRestoreUnsaved(const std::vector<std::string>& profiles) override {
        offeredUnsaved.push_back(profiles);
        return Next(MessageStyle::kIdNo) == MessageStyle::kIdYes;
    }
};
