#pragma once

#include "CListEditorView.h"

// The global scroll list: contacts of all three kinds.
class CScrollListView : public CListEditorView {
    Q_OBJECT
  public:
    explicit CScrollListView(IViewHost& host, QWidget* parent = nullptr);
    void RefreshCaption() override;

  protected:
    bool Shows(const ContactRecord&) const override { return true; }
    ChangeNotice RefreshNotice() const override;
};
