#pragma once

#include <QObject>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "CGuiRadioUi.h"
#include "CRadioCommandChain.h"

class CCommandRecorder;
class CRegister;
class ICommandHost;
class IPortLister;

// The Device menu's Read, Write and Reset: each runs through the command chain with the window's
// front end, with the device commands disabled while it runs. A read ends in a new profile or, when
// the user says so, in the active one.
class CRadioCommands : public QObject {
    Q_OBJECT
  public:
    CRadioCommands(ICommandHost& host, const IPortLister& lister);
    ~CRadioCommands() override;

    void Read();
    // Writes the active profile; after "Write Next Radio" the same write for the next radio.
    void Write();
    void Reset();
    // Reads the radio as Read does and shows how it differs from the active profile.
    void CompareWithRadio();
    // Captures another radio's PID over the air; the PID when the user ended the dialog with OK.
    std::optional<std::string> ReadPrivateId();
    // Writes a radio's backup file back to the radio with this PID (refused for another radio).
    void Restore(const std::filesystem::path& backup, const std::string& pid);
    bool Running() const { return m_running; }
    // The port the commands would use now ("" when there is none).
    std::string CurrentPort() const;
    // The transfer context of the commands, which run one at a time.
    CTransferContext& Context() { return m_context; }
    // The register every command records in; null when it could not be made.
    CRegister* Register() const;
    // What the user should know about the register ("" when nothing is amiss).
    std::string RegisterProblem() const;

  signals:
    void runningChanged(bool running);

  private:
    bool Start(std::string& port);
    void Finish();
    // The radio read through the chain into image; false when it failed or was cancelled.
    bool ReadImage(CVirtualCodeplug& image);

    ICommandHost& m_host;
    const IPortLister& m_lister;
    CTransferContext m_context;
    CGuiRadioUi m_ui;
    CRadioCommandChain m_chain;
    std::unique_ptr<CCommandRecorder> m_recorder;
    bool m_running = false;
    std::unique_ptr<class CTraceScope> m_trace;  // while a command runs, when traces are kept
};
