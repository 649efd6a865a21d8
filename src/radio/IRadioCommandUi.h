#pragma once

#include <functional>
#include <optional>
#include <string>

// What the Read, Write and Reset commands ask of a front end.
class IRadioCommandUi {
  public:
    virtual ~IRadioCommandUi() = default;
    // Runs one radio operation on a worker (progress shown, cancel offered); its result code.
    virtual int RunOperation(const std::function<int()>& operation) = 0;
    // A Yes/No question with the string-table text of messageId.
    virtual bool AskYesNo(int messageId) = 0;
    // "Please enter the password:"; nothing when the user cancels.
    virtual std::optional<std::string> AskPassword() = 0;
    // A message box with a text from the string table.
    virtual void ShowMessage(const std::string& text) = 0;
    // The modified-band notice (307); true when "Do not show this message again." was ticked.
    virtual bool ShowModifiedBandNotice() = 0;
};
