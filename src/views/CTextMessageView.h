#pragma once

#include "CBaseView.h"

class CTextMessageEdit;
class QPushButton;

// One text message: edits its text (80 characters, no control characters), committed when the
// view is left.
class CTextMessageView : public CBaseView {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 80;

    // Control ids.
    enum ControlId : int {
        kText = 1009,
        kDelete = 1015,
        kCaption = 1057,
        kAdd = 1063,
        kAddLabel = 1064,
        kDeleteLabel = 1074,
        kTextLabel = 1075,
    };

    explicit CTextMessageView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;
    int ValidateCurrentItem() override;
    void FocusFirstField(int kind) override;

    // The text with every character below code 32 removed.
    static QString WithoutControlCharacters(const QString& text);

  private:
    void PostFocusText();
    void SendDeleteNotice();

    CTextMessageEdit* m_text = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_add = nullptr;
    CDataItem m_item;
    int m_position = 0;
    bool m_changed = false;
};
