#pragma once

#include <QPointer>
#include <QWidget>

#include "IDocumentUi.h"

// Questions and failures shown in message boxes over a parent window, with the string-table text
// of their number. Dialogs use it unless a test hands them scripted answers instead.
class CMessageBoxDocumentUi : public IDocumentUi {
  public:
    explicit CMessageBoxDocumentUi(QWidget* parent) : m_parent(parent) {}
    bool AskYesNo(int messageId) override;
    void ShowError(int messageId, const std::string& detail) override;

  private:
    QPointer<QWidget> m_parent;
};
