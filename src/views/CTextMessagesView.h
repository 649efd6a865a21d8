#pragma once

#include "CBaseView.h"

class QLineEdit;
class QPushButton;

// The text messages node's view: the limit and the count of messages, and adding one.
class CTextMessagesView : public CBaseView {
    Q_OBJECT
  public:
    // Control ids.
    enum ControlId : int {
        kMaximum = 1028,
        kCount = 1030,
        kCaption = 1058,
        kMaximumLabel = 1059,
        kCountLabel = 1060,
        kAdd = 1063,
        kAddLabel = 1064,
    };

    explicit CTextMessagesView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;

  private:
    QLineEdit* m_maximum = nullptr;
    QLineEdit* m_count = nullptr;
    QPushButton* m_add = nullptr;
};
