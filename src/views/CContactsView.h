#pragma once

#include <array>

#include "CBaseView.h"

class QLineEdit;

// The contacts node's view: the limits of the radio and the current counts.
class CContactsView : public CBaseView {
    Q_OBJECT
  public:
    explicit CContactsView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;

  private:
    std::array<QLineEdit*, 8> m_values{};
};
