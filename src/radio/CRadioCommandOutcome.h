#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "CTransferContext.h"
#include "CVirtualCodeplug.h"

// What one radio command did, for the register of radio operations: the command chain hands one
// over as each Read, Write, restore and Reset ends; a front end makes one for a command it runs
// outside the chain (a PID capture).
struct CRadioCommandOutcome {
    enum class Command { kRead, kWrite, kRestore, kReset, kCapture };
    // A write's read-back.
    enum class Verify { kNotVerified, kPassed, kDifferent, kFailed };

    Command command = Command::kRead;
    std::string port;
    int code = 0;
    // The radio on the cable as the command's operations saw it (nothing they did not reach).
    CTransferContext::RadioSeen radio;
    // A write that failed after the radio had been written to.
    bool partlyProgrammed = false;
    // A write: the profile as the document held it, and the image handed to the radio (nothing
    // when the write stopped before that).
    std::filesystem::path profileFile;
    std::string profileText;
    std::optional<CVirtualCodeplug> written;
    std::filesystem::path backupFile;
    Verify verify = Verify::kNotVerified;
    // A capture: the PID of the other radio.
    std::u16string capturedPid;

    // A command that ran its one operation with context outside the chain (a PID capture, the
    // command line's reset) and ended with code.
    static CRadioCommandOutcome Of(Command command, const CTransferContext& context,
                                   std::string port, int code) {
        CRadioCommandOutcome outcome;
        outcome.command = command;
        outcome.port = std::move(port);
        outcome.code = code;
        outcome.radio = context.SeenRadio();
        return outcome;
    }
};
