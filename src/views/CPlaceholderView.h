#pragma once

#include "CBaseView.h"

// The view of a node whose editing form is not built yet: its caption on an empty form.
class CPlaceholderView : public CBaseView {
    Q_OBJECT
  public:
    CPlaceholderView(IViewHost& host, int kind, std::string className, std::string resourceKey,
                     QWidget* parent = nullptr);
    void RefreshCaption() override;
    void OnChangeNotice(int hint) override;

  private:
    int m_kind;
};
