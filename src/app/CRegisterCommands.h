#pragma once

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <string>

class CRadioCommands;
class CRegisterDialog;
class ICommandHost;

// Device > Register: opens the register window (one at a time) and does what it asks of the
// program: a record's backup opened as a new profile, or written back to its radio through the
// radio commands. The window's marks follow the active profile.
class CRegisterCommands : public QObject {
    Q_OBJECT
  public:
    CRegisterCommands(ICommandHost& host, CRadioCommands& radio);
    ~CRegisterCommands() override;

    // Shows the register window (raised when it is open already).
    void Show();
    CRegisterDialog* Dialog() const;

    // The backup as a new, untitled profile window; false when it could not be opened.
    bool OpenBackup(const std::filesystem::path& backup);
    // ProfileHash of the active profile; "" when none is open.
    std::string ActiveProfileHash();
    // Another profile window became the active one: the register window's marks follow it.
    void ActiveProfileChanged();

  private:
    ICommandHost& m_host;
    CRadioCommands& m_radio;
    QPointer<CRegisterDialog> m_dialog;
};
