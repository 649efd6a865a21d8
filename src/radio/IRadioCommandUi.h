#pragma once

#include <functional>
#include <optional>
#include <string>

// The radio operations a command runs, so a front end can tell the transfer (a dialog with its
// title and texts) from the short reads before it.
enum class RadioOperation {
    kOwnPid,         // write: the radio's own PID
    kVersion,        // read and write: the radio's version (its model group)
    kPassword,       // read and write, model group above 2: the radio's codeplug password
    kReadCodeplug,   // the read transfer
    kWriteCodeplug,  // the write transfer
    kReset,
    kBackup,  // write, when asked for: the radio's codeplug before anything is written
    kVerify,  // write, when asked for: the radio read back after the write
};

// True for the two transfers, which a transfer dialog shows.
constexpr bool IsTransfer(RadioOperation operation) {
    return operation == RadioOperation::kReadCodeplug ||
           operation == RadioOperation::kWriteCodeplug;
}

// What the Read, Write and Reset commands ask of a front end.
class IRadioCommandUi {
  public:
    virtual ~IRadioCommandUi() = default;
    // Runs one radio operation on a worker (progress shown, cancel offered) and returns its
    // result code. A transfer shows its own outcome, as a transfer dialog does (RadioTransferText);
    // the failure of any other operation is shown once by the command, through ShowMessage. The
    // cancel flag is cleared once when a command starts, never here: a cancel at any point of the
    // command ends it before the radio is written.
    virtual int RunOperation(RadioOperation which, const std::function<int()>& operation) = 0;
    // A Yes/No question with the string-table text of messageId.
    virtual bool AskYesNo(int messageId) = 0;
    // "Please enter the password:"; nothing when the user cancels.
    virtual std::optional<std::string> AskPassword() = 0;
    // A message box with a text from the string table.
    virtual void ShowMessage(const std::string& text) = 0;
    // A note that needs no answer (where a backup went, that a radio was verified).
    virtual void ShowNote(const std::string& text) { (void)text; }
    // The modified-band notice (307); true when "Do not show this message again." was ticked.
    virtual bool ShowModifiedBandNotice() = 0;
};
