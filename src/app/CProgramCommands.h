#pragma once

#include <QString>
#include <string>

class ICommandHost;
class IPortLister;

// The commands about the program rather than a profile: Preferences (the port and its detection),
// the language of the texts, the help contents and the folder of the backups.
class CProgramCommands {
  public:
    CProgramCommands(ICommandHost& host, const IPortLister& ports) : m_host(host), m_ports(ports) {}

    // shownPort: what the port pane shows now; it comes back when the dialog is cancelled.
    void Preferences(const QString& shownPort);
    // Takes effect at the next start; the user is told so when it differs from the running one.
    void ChooseLanguage(const std::string& key);
    void HelpContents();
    // Opens the folder of the backups made before writes in the desktop's file manager.
    void OpenBackupFolder();

  private:
    ICommandHost& m_host;
    const IPortLister& m_ports;
};
