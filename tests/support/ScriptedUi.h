#pragma once

#include <deque>
#include <string>
#include <vector>

#include "IAppUi.h"
#include "MessageStyle.h"
#include "StringTable.h"

// Answers the program's questions from a script and records every text it was shown.
class ScriptedUi : public IAppUi {
  public:
    std::vector<std::string> shown;  // every text shown, in order
    std::deque<int> answers;         // button codes for messages and the save-changes question
    int saveChangesQuestions = 0;
    std::optional<std::string> savePath;
    std::optional<std::string> openPath;
    std::optional<std::string> templateName;
    bool openUrlResult = true;
    std::vector<QUrl> openedUrls;
    std::optional<std::string> readPid;  // what the PID capture dialog ends with
    int readPidRuns = 0;
    std::vector<std::vector<std::string>> offeredUnsaved;  // each restore question's profiles

    bool Showed(int messageId) const { return Count(LoadString(messageId)) > 0; }
    bool Showed(int messageId, const std::string& argument) const {
        return Count(CStringTable::Instance().Format(messageId, {argument})) > 0;
    }
    int Count(const std::string& text) const {
        int n = 0;
        for (const auto& s : shown) {
            n += s == text ? 1 : 0;
        }
        return n;
    }

    bool AskYesNo(int messageId) override {
        shown.push_back(LoadString(messageId));
        return Next(MessageStyle::kIdNo) == MessageStyle::kIdYes;
    }
    void ShowError(int messageId, const std::string&) override {
        shown.push_back(LoadString(messageId));
    }
    int ShowMessage(const std::string& text, int) override {
        shown.push_back(text);
        return Next(MessageStyle::kIdOk);
    }
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

    std::optional<std::string> ReadPrivateId() override {
        ++readPidRuns;
        return readPid;
    }

  private:
    int Next(int fallback) {
        if (answers.empty()) {
            return fallback;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
