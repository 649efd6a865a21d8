#pragma once

#include <QDialog>
#include <chrono>
#include <functional>
#include <string>

#include "CCableDiscovery.h"

class QCheckBox;
class QComboBox;
class QLabel;

// Where the programming cable is expected: a port chosen from the list, or the cable found
// automatically; and the dealer tools that cost wire time (backup before write, verify after
// write, wire trace), each off until ticked. OK stores everything; Cancel stores nothing. The
// port shows through showPort (the main window's status bar) when the dialog opens, when the
// auto-detect box changes it and on OK, not at each pick in the list.
class CPreferenceDialog : public QDialog {
    Q_OBJECT
  public:
    // Control ids.
    enum ControlId : int { kPortList = 1000 };

    CPreferenceDialog(const IPortLister& lister, std::function<void(const QString&)> showPort,
                      QWidget* parent,
                      std::chrono::milliseconds settle = std::chrono::milliseconds(100));

    QCheckBox* AutoDetectBox() const { return m_autoDetect; }
    QComboBox* PortList() const { return m_ports; }
    QCheckBox* BackupBox() const { return m_backup; }
    QCheckBox* VerifyBox() const { return m_verify; }
    QCheckBox* TraceBox() const { return m_trace; }
    // The selected port's name (the list shows the cable with its USB description).
    std::string SelectedPort() const;

    void accept() override;

  private:
    // Refills the list with the system's ports, sorted, and selects the current port.
    void Fill(bool forceDetect);
    void Select(const std::string& port);
    void ApplyAutoDetectRule();
    void ShowSelected();

    const IPortLister& m_lister;
    CCableDiscovery m_discovery;
    std::function<void(const QString&)> m_showPort;
    QCheckBox* m_autoDetect = nullptr;
    QComboBox* m_ports = nullptr;
    QCheckBox* m_backup = nullptr;
    QCheckBox* m_verify = nullptr;
    QCheckBox* m_trace = nullptr;
};
