#include "CCommandRecorder.h"

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "StringTable.h"
#include "TextCodec.h"

namespace {

const char* OperationName(CRadioCommandOutcome::Command command) {
    using Command = CRadioCommandOutcome::Command;
    switch (command) {
        case Command::kRead:
            return RegisterOperation::kRead;
        case Command::kWrite:
            return RegisterOperation::kWrite;
        case Command::kRestore:
            return RegisterOperation::kRestore;
        case Command::kReset:
            return RegisterOperation::kReset;
        case Command::kCapture:
            return RegisterOperation::kCapture;
    }
    return "";
}

const char* VerifyName(CRadioCommandOutcome::Verify verify) {
    using Verify = CRadioCommandOutcome::Verify;
    switch (verify) {
        case Verify::kPassed:
            return RegisterVerify::kPassed;
        case Verify::kDifferent:
            return RegisterVerify::kDifferent;
        case Verify::kFailed:
            return RegisterVerify::kFailed;
        case Verify::kNotVerified:
            break;
    }
    return "";
}

}  // namespace

CCommandRecorder::CCommandRecorder(const CRegisterOptions& options) noexcept {
    try {
        m_register = std::make_unique<CRegister>(options);
    } catch (const CQMVVLTException& e) {
        m_problem = e.Message();
    } catch (...) {
        m_problem = LoadString(MessageId::kRegisterLocalFailed);
    }
}

void CCommandRecorder::Record(const CRadioCommandOutcome& outcome) noexcept {
    if (!m_register) {
        return;
    }
    try {
        m_register->Record(RecordOf(outcome));
    } catch (...) {
        // Out of memory: the command has done its work; it goes without its record.
    }
}

std::string CCommandRecorder::Problem() const {
    return m_register ? m_register->Status().Text() : m_problem;
}

CRegisterRecord CCommandRecorder::RecordOf(const CRadioCommandOutcome& outcome) {
    CRegisterRecord record =
        CRegisterRecord::ForOperation(OperationName(outcome.command), outcome.port, outcome.code);
    // Only what the radio told: nothing of an image's defaults stands in for a field not read.
    CVirtualCodeplug seen;
    if (outcome.radio.version) {
        seen.version = *outcome.radio.version;
    }
    if (outcome.radio.limits) {
        seen.limits = *outcome.radio.limits;
    }
    record.SetRadio(seen.limits.pid, seen);
    if (!outcome.radio.version) {
        record.firmware.clear();
        record.codeplug.clear();
    }
    if (!outcome.profileText.empty()) {
        record.SetProfile(outcome.profileFile, outcome.profileText,
                          outcome.written ? &*outcome.written : nullptr);
    }
    record.backupFile = outcome.backupFile.string();
    record.verify = VerifyName(outcome.verify);
    if (outcome.partlyProgrammed) {
        record.outcomeText += " " + LoadString(MessageId::kPartlyProgrammed);
    }
    if (outcome.command == CRadioCommandOutcome::Command::kCapture &&
        outcome.code == kRadioSuccess) {
        record.outcomeText = CStringTable::Instance().Format(
            MessageId::kCapturedPidOutcome, {record.outcomeText, Utf16ToUtf8(outcome.capturedPid)});
    }
    return record;
}
