#pragma once

#include "CBaseView.h"

class QLineEdit;

// The root's view: read-only facts about the radio the profile belongs to.
class CRadioInfoView : public CBaseView {
    Q_OBJECT
  public:
    explicit CRadioInfoView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;

  private:
    QLineEdit* m_pid = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_firmware = nullptr;
    QLineEdit* m_codeplug = nullptr;
};
