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
// automatically. OK stores both; Cancel stores nothing. Every change shows the chosen port through
// showPort (the main window's status bar).
class CPreferenceDialog : public QDialog {
    Q_OBJECT
  public:
    CPreferenceDialog(const IPortLister& lister, std::function<void(const QString&)> showPort,
                      QWidget* parent,
                      std::chrono::milliseconds settle = std::chrono::milliseconds(100));

    QCheckBox* AutoDetectBox() const { return m_autoDetect; }
    QComboBox* PortList() const { return m_ports; }
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
};
