#pragma once

#include "CBaseView.h"

class QCheckBox;
class QListWidget;
class QTableWidget;

// The lists node's view, read only: the scroll list and, where the radio scans public groups,
// the scan list of every channel side by side with the scan mode.
class CListsView : public CBaseView {
    Q_OBJECT
  public:
    // Control ids.
    enum ControlId : int {
        kScrollList = 1000,
        kScanGrid = 1001,
        kScanMode = 1002,
        kScrollHeading = 1011,
        kScanHeading = 1012,
        kCaption = 1013,
        kScanModeLabel = 1015,
    };

    explicit CListsView(IViewHost& host, QWidget* parent = nullptr);
    void LoadData() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void SizeColumns();

    QListWidget* m_scroll = nullptr;
    QTableWidget* m_scan = nullptr;
    QCheckBox* m_scanMode = nullptr;
};
