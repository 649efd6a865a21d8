#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "CRadioBlocks.h"
#include "CRadioCommandOutcome.h"
#include "CTransferContext.h"
#include "CVirtualCodeplug.h"
#include "IRadioCommandUi.h"
#include "RadioClock.h"

class CQMVVLTDoc;
class CQMVVLTException;
class CRadioBackup;
class CUpDownGradeSetting;

// What a write sends when it is not a document's profile as it stands (a programming station
// writes each radio its unit's copy of the job's profile).
struct CWriteSource {
    // The image for the radio whose own PID the write has just read. May raise CQMVVLTException:
    // the write then stops before anything is sent, with ProfileRefused() set.
    std::function<CVirtualCodeplug(std::u16string_view ownPid)> image;
    // The model group of the profile the image comes from: a radio of a lower group asks first.
    int modelGroup = 0;
    // The radio's clock is set from the PC's.
    bool usePcClock = false;
    // The radio's version and limits as the caller has just read them (CTransferOperations::
    // ReadIdentity): its own PID and version are not asked again. Null: the write reads them.
    const CVirtualCodeplug* radio = nullptr;
    // Saves the radio's codeplug as read into backup's folder (when the chain has one) and
    // returns the file; raises CQMVVLTException when it cannot.
    std::function<std::filesystem::path(const CRadioBackup& backup, const CVirtualCodeplug& radio)>
        saveBackup;
};

// The Read, Write and Reset commands: each chains the radio operations (version, model group,
// password gate, transfer) in the order a dealer's radio expects. Both front ends drive it; the
// entered password lives as long as the chain, so a radio written from this program is not asked
// for again.
class CRadioCommandChain {
  public:
    CRadioCommandChain(CTransferContext& context, const CUpDownGradeSetting& settings,
                       IRadioCommandUi& ui);

    // Each command clears the cancel flag once when it starts; a cancel from then on ends it
    // before the radio is written. Each holds its port for its length (CPortHold): a port in use
    // elsewhere ends it at its first operation with kPortBusy. Failures have been shown when they
    // return (each once); the result code is returned (kUserCancelled also for a cancelled password
    // or question).

    // Reads the radio on port into image (a fresh image on success).
    int Read(const std::string& port, CVirtualCodeplug& image);
    // Writes the document's profile to the radio on port; the radio's clock is set from the PC's
    // when the document asks for it (CQMVVLTDoc::UsePcClock). A profile that cannot be converted,
    // or holds what the radio cannot take, is refused before anything is sent: each offending
    // contact, text or setting is shown, and the result is kTextToRadio for characters the radio
    // lacks, kOperationFailed otherwise, with ProfileRefused() set. After a write that failed or
    // was cancelled once the radio had been written to, says that the radio may be partly
    // programmed.
    int Write(const std::string& port, CQMVVLTDoc& doc);
    // The same write from source, whose image the caller has checked (nothing is checked here
    // before the radio is asked for its PID); outcome tells what it did, as a Write's observer
    // is told.
    int WriteImage(const std::string& port, const CWriteSource& source,
                   CRadioCommandOutcome& outcome);
    // Writes a radio's backup (doc) back to it as Write does, once the radio on port has shown
    // that its own PID is pid; another radio is told and left untouched.
    int Restore(const std::string& port, CQMVVLTDoc& doc, const std::u16string& pid);
    // Whether the last Write stopped at the profile rather than at the radio.
    bool ProfileRefused() const { return m_profileRefused; }

    // A folder: each Write first reads the radio and saves its codeplug there as a profile, and
    // writes nothing unless that backup is on disk (CRadioBackup). Empty: no backup.
    void SetBackupFolder(std::filesystem::path folder) { m_backupFolder = std::move(folder); }
    // Each successful Write then reads the radio back and compares it with what was sent; a
    // difference is shown field by field and fails the Write (VerifyMismatch()).
    void SetVerify(bool verify) { m_verify = verify; }
    // The backup the last Write made (empty when none).
    const std::filesystem::path& LastBackup() const { return m_lastBackup; }
    // Whether the last Write stopped because its backup could not be saved.
    bool BackupFailed() const { return m_backupFailed; }
    // Whether the last Write's verification found the radio holding something else.
    bool VerifyMismatch() const { return m_verifyMismatch; }
    int Reset(const std::string& port);

    // Called on the calling thread as each command ends, with what it did (the register).
    void SetOutcomeObserver(std::function<void(const CRadioCommandOutcome&)> observer) {
        m_outcomeObserver = std::move(observer);
    }

    int RadioModelGroup() const { return m_modelGroup; }
    const std::u16string& EnteredPassword() const { return m_enteredPassword; }
    void SetEnteredPassword(std::u16string password) { m_enteredPassword = std::move(password); }

  private:
    CRadioCommandOutcome Begin(CRadioCommandOutcome::Command command, const std::string& port);
    int End(CRadioCommandOutcome& outcome, int code);
    int ReadSteps(const std::string& port, CVirtualCodeplug& image);
    // The document's write (or restore): its profile checked, then the write's steps.
    // expectedPid: a restore's radio (null for a write).
    int WriteDocument(const std::string& port, CQMVVLTDoc& doc, const std::u16string* expectedPid,
                      CRadioCommandOutcome& outcome);
    static CWriteSource DocumentSource(CQMVVLTDoc& doc);
    // Version and (for groups above 2) the radio's password; false when a step failed.
    int ReadVersionAndGroup(const std::string& port);
    // The model group of a radio with this version, and its password when the group has one.
    int GroupAndPassword(const std::string& port, const CVersionBlock& version);
    // Asks for the radio's password until it is entered (true) or the user cancels (false).
    bool PasswordGate();
    // Converts and checks the profile the way a write would; kRadioSuccess when it can be sent.
    int CheckProfile(CQMVVLTDoc& doc);
    void ShowProfileError(const CQMVVLTException& e);
    // Clears what the last write left.
    void BeginWrite();
    // The write's steps from the radio's own PID on.
    int WriteSteps(const std::string& port, const CWriteSource& source,
                   const std::u16string* expectedPid, CRadioCommandOutcome& outcome);
    // The radio's codeplug into the backup folder; kRadioSuccess once it is on disk.
    int Backup(const std::string& port, const CWriteSource& source);
    // Reads the radio back and compares it with sent.
    int Verify(const std::string& port, const CRadioBlocks& sent,
               CRadioCommandOutcome::Verify& result);
    // Runs one operation through the front end; shows a failure the front end does not show.
    int Run(RadioOperation which, const std::function<int()>& operation);

    CTransferContext& m_context;
    const CUpDownGradeSetting& m_settings;
    IRadioCommandUi& m_ui;
    int m_modelGroup = 0;
    std::u16string m_radioPassword;
    std::u16string m_enteredPassword;
    bool m_profileRefused = false;
    std::filesystem::path m_backupFolder;
    bool m_verify = false;
    std::filesystem::path m_lastBackup;
    bool m_verifyMismatch = false;
    bool m_backupFailed = false;
    std::function<void(const CRadioCommandOutcome&)> m_outcomeObserver;
};
