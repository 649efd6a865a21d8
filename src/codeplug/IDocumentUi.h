#pragma once

#include <string>

// What the document asks of the user and tells the user; the GUI answers with message boxes, the
// command line on the terminal (or from its options).
class IDocumentUi {
  public:
    virtual ~IDocumentUi() = default;
    // A Yes/No question with the string-table text of messageId; true for Yes.
    virtual bool AskYesNo(int messageId) = 0;
    // A failure: the string-table text of messageId, with the exception's trace as detail.
    virtual void ShowError(int messageId, const std::string& detail) = 0;
};
