#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "IDocumentUi.h"
#include "IViewUi.h"
#include "MessageStyle.h"
#include "StringTable.h"

// Answers the questions of a document and its views from a script and records every text shown.
// Base is the interface served: the desktop program's whole one for ScriptedUi.
template <class Base>
class ScriptedAnswers : public Base {
  public:
    std::vector<std::string> shown;      // every text shown, in order
    std::deque<int> answers;             // button codes for messages and the save-changes question
    std::optional<std::string> readPid;  // what the PID capture dialog ends with
    int readPidRuns = 0;

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
    std::optional<std::string> ReadPrivateId() override {
        ++readPidRuns;
        return readPid;
    }

  protected:
    int Next(int fallback) {
        if (answers.empty()) {
            return fallback;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// What a document window asks of the user.
class IDocumentViewUi : public IDocumentUi, public IViewUi {};

using ScriptedViewUi = ScriptedAnswers<IDocumentViewUi>;
