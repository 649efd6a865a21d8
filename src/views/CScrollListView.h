#pragma once

#include "CListEditorView.h"

// The global scroll list: contacts of all three kinds.
class CScrollListView : public CListEditorView {
    Q_OBJECT
  public:
    // Control ids.
    enum ControlId : int {
        kMembers = 1003,
        kAvailable = 1004,
        kAddMember = 1005,
        kRemoveMember = 1006,
        kCaption = 1011,
        kAvailableLabel = 1024,
        kMembersLabel = 1025,
    };

    explicit CScrollListView(IViewHost& host, QWidget* parent = nullptr);
    void RefreshCaption() override;

  protected:
    bool Shows(const ContactRecord&) const override { return true; }
    ChangeNotice RefreshNotice() const override;
};
