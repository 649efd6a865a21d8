#pragma once

#include <vector>

#include "IDocumentUi.h"

// Records what a dialog tells the user instead of showing message boxes.
class ScriptedUi : public IDocumentUi {
  public:
    bool AskYesNo(int messageId) override {
        shown.push_back(messageId);
        return yes;
    }
    void ShowError(int messageId, const std::string&) override { shown.push_back(messageId); }

    bool yes = true;
    std::vector<int> shown;
};
