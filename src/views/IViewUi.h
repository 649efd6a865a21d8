#pragma once

#include <string>

// What the views and the tree ask of the user. The GUI answers with message boxes, tests with
// scripted answers.
class IViewUi {
  public:
    virtual ~IViewUi() = default;
    // Shows text with a message-box style (MessageStyle) and returns the button chosen.
    virtual int ShowMessage(const std::string& text, int style) = 0;
};
