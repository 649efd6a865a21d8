#pragma once

#include <optional>
#include <string>

// What the views and the tree ask of the user. The GUI answers with message boxes, tests with
// scripted answers.
class IViewUi {
  public:
    virtual ~IViewUi() = default;
    // Shows text with a message-box style (MessageStyle) and returns the button chosen.
    virtual int ShowMessage(const std::string& text, int style) = 0;
    // Captures another radio's private ID over the air (a modal dialog); the PID in decimal when
    // the user ended it with OK, nothing otherwise (or where no radio can be reached).
    virtual std::optional<std::string> ReadPrivateId() { return std::nullopt; }
};
