#pragma once

#include "CBaseView.h"

class QLineEdit;
class QPushButton;

// The text messages node's view: the limit and the count of messages, and adding one.
class CTextMessagesView : public CBaseView {
    Q_OBJECT
  public:
    explicit CTextMessagesView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;

  private:
    QLineEdit* m_maximum = nullptr;
    QLineEdit* m_count = nullptr;
    QPushButton* m_add = nullptr;
};
