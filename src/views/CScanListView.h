#pragma once

#include "CBaseView.h"

class QCheckBox;

// The scan list node's view: the radio's scan mode.
class CScanListView : public CBaseView {
    Q_OBJECT
  public:
    // Control ids.
    enum ControlId : int {
        kCaption = 1107,
        kScanModeLabel = 1108,
        kScanMode = 1109,
    };

    explicit CScanListView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;

  private:
    void Commit(bool on);
    CDataItem Setting() const;

    QCheckBox* m_scan = nullptr;
};
