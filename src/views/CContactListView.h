#pragma once

#include <vector>

#include "CBaseView.h"
#include "NodeKind.h"

class QPushButton;

// The view of a contact list node: buttons that ask the tree to add a contact, enabled while the
// list may grow.
class CContactListView : public CBaseView {
    Q_OBJECT
  public:
    // The caption's control id, the same for every list node.
    enum ControlId : int { kCaption = 1011 };

    struct AddButton {
        int buttonId;
        int labelId;
        int textId;
        NodeKind noticeKind;
    };
    CContactListView(IViewHost& host, std::string className, std::string resourceKey,
                     int captionTextId, const char* listName, const std::vector<AddButton>& buttons,
                     QWidget* parent = nullptr);
    void LoadData() override;

  private:
    const char* m_listName;
    std::vector<QPushButton*> m_buttons;
};
