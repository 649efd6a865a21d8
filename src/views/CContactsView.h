#pragma once

#include <array>

#include "CBaseView.h"

class QLineEdit;

// The contacts node's view: the limits of the radio and the current counts.
class CContactsView : public CBaseView {
    Q_OBJECT
  public:
    // Control ids: the values in the order of their rows, each row's label 20 above its value.
    enum ControlId : int {
        kMaxContacts = 1001,
        kMaxPrivateGroups,
        kMaxPublicGroups,
        kMaxPrivates,
        kContactCount,
        kPrivateGroupCount,
        kPublicGroupCount,
        kPrivateCount,
        kCaption = 1013,
        kFirstLabel = 1021,
    };

    explicit CContactsView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;

  private:
    std::array<QLineEdit*, 8> m_values{};
};
