#pragma once

#include "CBaseView.h"

class QLineEdit;

// The root's view: read-only facts about the radio the profile belongs to.
class CRadioInfoView : public CBaseView {
    Q_OBJECT
  public:
    // Control ids.
    enum ControlId : int {
        kPidLabel = 1001,
        kNameLabel = 1002,
        kFirmwareLabel = 1003,
        kCodeplugLabel = 1004,
        kFirmware = 1010,
        kName = 1011,
        kCodeplug = 1012,
        kCaption = 1013,
        kPid = 1066,
    };

    explicit CRadioInfoView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;

  private:
    QLineEdit* m_pid = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_firmware = nullptr;
    QLineEdit* m_codeplug = nullptr;
};
