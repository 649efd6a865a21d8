#pragma once

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <string>

class CMainFrame;
class CRegisterDialog;

// Device > Register: opens the register window (one at a time) and does what it asks of the
// program: a record's backup opened as a new profile, or written back to its radio through the
// radio commands. The window's marks follow the active profile.
class CRegisterCommands : public QObject {
    Q_OBJECT
  public:
    explicit CRegisterCommands(CMainFrame& window);
    ~CRegisterCommands() override;

    // Shows the register window (raised when it is open already).
    void Show();
    CRegisterDialog* Dialog() const;

    // The backup as a new, untitled profile window; false when it could not be opened.
    bool OpenBackup(const std::filesystem::path& backup);
    // ProfileHash of the active profile; "" when none is open.
    std::string ActiveProfileHash();

  private:
    CMainFrame& m_window;
    QPointer<CRegisterDialog> m_dialog;
};
