#include "CRadioCommandChain.h"

#include <algorithm>

#include "CPortHold.h"
#include "CQMVVLTDoc.h"
#include "CQMVVLTException.h"
#include "CRadioBackup.h"
#include "CTransferOperations.h"
#include "CUpDownGradeSetting.h"
#include "CWriteCheck.h"
#include "CWriteVerify.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "RadioResultText.h"
#include "StringTable.h"
#include "TextCodec.h"
#include "Utility.h"

namespace {

constexpr int kModifiedBandClone = 15;

}  // namespace

CRadioCommandChain::CRadioCommandChain(CTransferContext& context,
                                       const CUpDownGradeSetting& settings, IRadioCommandUi& ui)
    : m_context(context), m_settings(settings), m_ui(ui) {}

int CRadioCommandChain::Run(RadioOperation which, const std::function<int()>& operation) {
    const int code = m_ui.RunOperation(which, operation);
    // A transfer showed its outcome in its own dialog; the others are shown here, once.
    if (code != kRadioSuccess && !IsTransfer(which)) {
        std::string text =
            code == kPasswordUnavailable
                ? LoadString(MessageId::kUnableToGetPassword)
                : WithPortProblem(RadioResultText(code), code, m_context.PortProblem());
        // Said first, so nobody takes a failed backup or read-back for a failed write.
        if (which == RadioOperation::kBackup) {
            text = LoadString(MessageId::kBackupFailed) + "\n" + text;
        } else if (which == RadioOperation::kVerify) {
            text = LoadString(MessageId::kNotVerified) + "\n" + text;
        }
        m_ui.ShowMessage(text);
    }
    return code;
}

int CRadioCommandChain::ReadVersionAndGroup(const std::string& port) {
    CTransferOperations operations(m_context);
    CVersionBlock version;
    const int code =
        Run(RadioOperation::kVersion, [&] { return operations.ReadRadioVersion(port, version); });
    return code == kRadioSuccess ? GroupAndPassword(port, version) : code;
}

int CRadioCommandChain::GroupAndPassword(const std::string& port, const CVersionBlock& version) {
    m_modelGroup = m_settings.GetModelGroup(CTransferOperations::FirmwareVersionText(version));
    m_radioPassword.clear();
    if (m_modelGroup <= 2) {
        return kRadioSuccess;
    }
    CTransferOperations operations(m_context);
    return Run(RadioOperation::kPassword,
               [&] { return operations.ReadRadioPassword(port, m_radioPassword); });
}

bool CRadioCommandChain::PasswordGate() {
    if (m_modelGroup <= 2) {
        return true;
    }
    while (!m_radioPassword.empty() && m_radioPassword != m_enteredPassword) {
        const auto typed = m_ui.AskPassword();
        if (!typed) {
            return false;
        }
        if (Utf8ToUtf16(*typed) == m_radioPassword) {
            m_enteredPassword = m_radioPassword;
        } else {
            m_ui.ShowMessage(LoadString(MessageId::kWrongPassword));
        }
    }
    return true;
}

CRadioCommandOutcome CRadioCommandChain::Begin(CRadioCommandOutcome::Command command,
                                               const std::string& port) {
    m_context.ForgetRadio();
    CRadioCommandOutcome outcome;
    outcome.command = command;
    outcome.port = port;
    return outcome;
}

int CRadioCommandChain::End(CRadioCommandOutcome& outcome, int code) {
    outcome.code = code;
    outcome.radio = m_context.SeenRadio();
    if (m_outcomeObserver) {
        m_outcomeObserver(outcome);
    }
    return code;
}

int CRadioCommandChain::Read(const std::string& port, CVirtualCodeplug& image) {
    CRadioCommandOutcome outcome = Begin(CRadioCommandOutcome::Command::kRead, port);
    return End(outcome, ReadSteps(port, image));
}

int CRadioCommandChain::ReadSteps(const std::string& port, CVirtualCodeplug& image) {
    m_context.ClearCancel();
    const CPortHold hold(m_context, port);
    int code = ReadVersionAndGroup(port);
    if (code != kRadioSuccess) {
        return code;
    }
    if (!PasswordGate()) {
        return kUserCancelled;
    }
    m_context.SetNotSupportedAccepted(false);
    CTransferOperations operations(m_context);
    CVirtualCodeplug fresh;
    code = Run(RadioOperation::kReadCodeplug, [&] { return operations.ReadCodeplug(port, fresh); });
    if (code != kRadioSuccess) {
        return code;
    }
    image = std::move(fresh);
    // A prompt setting that cannot be read counts as on.
    if (image.limits.clone_compatibility_version == kModifiedBandClone &&
        Utility::GetRegionalizationPromptFlag() != 0) {
        const bool dontShowAgain = m_ui.ShowModifiedBandNotice();
        Utility::SetRegionalizationPromptFlag(dontShowAgain ? 0 : 1);
    }
    return kRadioSuccess;
}

void CRadioCommandChain::ShowProfileError(const CQMVVLTException& e) {
    const std::string text = LoadString(e.Code());
    m_ui.ShowMessage(text.empty() ? e.Message() : text);
    m_profileRefused = true;
}

int CRadioCommandChain::CheckProfile(CQMVVLTDoc& doc) {
    CVirtualCodeplug image;
    try {
        doc.GetVirtualCPData(image, {});
    } catch (const CQMVVLTException& e) {
        ShowProfileError(e);
        return kOperationFailed;
    }
    const auto problems = CWriteCheck::Check(image);
    if (problems.empty()) {
        return kRadioSuccess;
    }
    const bool notRadioText =
        std::any_of(problems.begin(), problems.end(), [](const auto& p) { return p.notRadioText; });
    std::string text = LoadString(notRadioText ? MessageId::kTextToRadioMessage
                                               : MessageId::kProfileCannotBeWritten);
    for (const auto& problem : problems) {
        text += "\n" + problem.text;
    }
    m_ui.ShowMessage(text);
    m_profileRefused = true;
    return notRadioText ? kTextToRadio : kOperationFailed;
}

void CRadioCommandChain::BeginWrite() {
    m_context.ClearCancel();
    m_profileRefused = false;
    m_lastBackup.clear();
    m_verifyMismatch = false;
    m_backupFailed = false;
}

CWriteSource CRadioCommandChain::DocumentSource(CQMVVLTDoc& doc) {
    CWriteSource source;
    source.image = [&doc](std::u16string_view ownPid) {
        CVirtualCodeplug image;
        doc.GetVirtualCPData(image, ownPid);
        return image;
    };
    source.modelGroup = doc.Model().GetModelGroup();
    source.usePcClock = doc.UsePcClock();
    source.saveBackup = [&doc](const CRadioBackup& backup, const CVirtualCodeplug& radio) {
        return backup.Save(radio, doc.App(), doc.InstallPath());
    };
    return source;
}

int CRadioCommandChain::Write(const std::string& port, CQMVVLTDoc& doc) {
    CRadioCommandOutcome outcome = Begin(CRadioCommandOutcome::Command::kWrite, port);
    return End(outcome, WriteDocument(port, doc, nullptr, outcome));
}

int CRadioCommandChain::Restore(const std::string& port, CQMVVLTDoc& doc,
                                const std::u16string& pid) {
    CRadioCommandOutcome outcome = Begin(CRadioCommandOutcome::Command::kRestore, port);
    return End(outcome, WriteDocument(port, doc, &pid, outcome));
}

int CRadioCommandChain::WriteDocument(const std::string& port, CQMVVLTDoc& doc,
                                      const std::u16string* expectedPid,
                                      CRadioCommandOutcome& outcome) {
    BeginWrite();
    outcome.profileFile = doc.Path().empty() ? std::filesystem::path(doc.Title()) : doc.Path();
    outcome.profileText = doc.Model().ProfileText();
    // The profile is checked before the radio is even asked for its PID.
    if (const int checked = CheckProfile(doc); checked != kRadioSuccess) {
        return checked;
    }
    return WriteSteps(port, DocumentSource(doc), expectedPid, outcome);
}

int CRadioCommandChain::WriteImage(const std::string& port, const CWriteSource& source,
                                   CRadioCommandOutcome& outcome) {
    BeginWrite();
    outcome.port = port;
    return WriteSteps(port, source, nullptr, outcome);
}

int CRadioCommandChain::WriteSteps(const std::string& port, const CWriteSource& source,
                                   const std::u16string* expectedPid,
                                   CRadioCommandOutcome& outcome) {
    const CPortHold hold(m_context, port);
    CTransferOperations operations(m_context);
    std::u16string ownPid;
    int code = kRadioSuccess;
    if (source.radio) {
        ownPid = source.radio->limits.pid;
        m_context.SetCurrentRadioPid(ownPid);
    } else {
        code = Run(RadioOperation::kOwnPid, [&] { return operations.ReadOwnPid(port, ownPid); });
        if (code != kRadioSuccess) {
            return code;
        }
    }
    // A backup goes back only into the radio it was taken from.
    if (expectedPid && ownPid != *expectedPid) {
        m_ui.ShowMessage(CStringTable::Instance().Format(
            MessageId::kRestoreOtherRadio, {Utf16ToUtf8(ownPid), Utf16ToUtf8(*expectedPid)}));
        return kOperationFailed;
    }
    code = source.radio ? GroupAndPassword(port, source.radio->version) : ReadVersionAndGroup(port);
    if (code != kRadioSuccess) {
        return code;
    }
    CVirtualCodeplug image;
    try {
        image = source.image(ownPid);
    } catch (const CQMVVLTException& e) {
        ShowProfileError(e);
        return kOperationFailed;
    }
    m_context.SetNotSupportedAccepted(false);
    if (m_modelGroup < source.modelGroup) {
        if (!m_ui.AskYesNo(MessageId::kAskDropUnsupported)) {
            return kUserCancelled;
        }
        m_context.SetNotSupportedAccepted(true);
    }
    if (source.usePcClock) {
        image.settings.current_time = RadioClockNow();
    }
    if (!PasswordGate()) {
        return kUserCancelled;
    }
    image.SettingsFromOwnRecord();
    if (!m_backupFolder.empty()) {
        code = Backup(port, source);
        outcome.backupFile = m_lastBackup;
        if (code != kRadioSuccess) {
            return code;
        }
    }
    CRadioBlocks sent;
    code = Run(RadioOperation::kWriteCodeplug, [&] {
        // Recorded as written only once the operation runs (a stopping station runs none).
        outcome.written = image;
        return operations.WriteCodeplug(port, image, m_verify ? &sent : nullptr);
    });
    // The profile's password is kept whatever the outcome: after a success the radio has it, and
    // otherwise the gate still compares it with the radio's own and asks when they differ.
    m_enteredPassword = image.settings.password;
    if (code != kRadioSuccess && m_context.RadioTouched()) {
        outcome.partlyProgrammed = true;
        m_ui.ShowMessage(LoadString(MessageId::kPartlyProgrammed));
    }
    if (code == kRadioSuccess && m_verify) {
        code = Verify(port, sent, outcome.verify);
    }
    return code;
}

int CRadioCommandChain::Backup(const std::string& port, const CWriteSource& source) {
    CTransferOperations operations(m_context);
    CVirtualCodeplug image;
    const int code =
        Run(RadioOperation::kBackup, [&] { return operations.ReadCodeplug(port, image); });
    if (code != kRadioSuccess) {
        return code;
    }
    try {
        m_lastBackup = source.saveBackup(CRadioBackup(m_backupFolder), image);
    } catch (const CQMVVLTException& e) {
        m_ui.ShowMessage(
            LoadString(MessageId::kBackupFailed) + "\n" +
            CStringTable::Instance().Format(MessageId::kBackupNotWritten, {e.Message()}));
        m_backupFailed = true;
        return kOperationFailed;
    }
    m_ui.ShowNote(CStringTable::Instance().Format(MessageId::kBackedUpTo, {m_lastBackup.string()}));
    return kRadioSuccess;
}

int CRadioCommandChain::Verify(const std::string& port, const CRadioBlocks& sent,
                               CRadioCommandOutcome::Verify& result) {
    CTransferOperations operations(m_context);
    CRadioBlocks radio;
    const int code = Run(RadioOperation::kVerify, [&] { return operations.ReadBack(port, radio); });
    if (code != kRadioSuccess) {
        result = CRadioCommandOutcome::Verify::kFailed;
        return code;
    }
    const auto differences = CWriteVerify::Differences(sent, radio);
    result = differences.empty() ? CRadioCommandOutcome::Verify::kPassed
                                 : CRadioCommandOutcome::Verify::kDifferent;
    if (differences.empty()) {
        m_ui.ShowNote(LoadString(MessageId::kVerified));
        return kRadioSuccess;
    }
    std::string text = LoadString(MessageId::kVerifyFailed);
    for (const std::string& line : differences) {
        text += "\n" + line;
    }
    m_ui.ShowMessage(text);
    m_verifyMismatch = true;
    return kOperationFailed;
}

int CRadioCommandChain::Reset(const std::string& port) {
    CRadioCommandOutcome outcome = Begin(CRadioCommandOutcome::Command::kReset, port);
    m_context.ClearCancel();
    const CPortHold hold(m_context, port);
    CTransferOperations operations(m_context);
    return End(outcome, Run(RadioOperation::kReset, [&] { return operations.PerformReset(port); }));
}
