#include <iostream>
#include <vector>

#include "CCliRadioScope.h"
#include "CCliRadioUi.h"
#include "CQMVVLTDoc.h"
#include "CRadioBackup.h"
#include "CRadioCommandChain.h"
#include "CTerminalPrompt.h"
#include "CliRadio.h"
#include "CliRegister.h"
#include "Commands.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "StringTable.h"
#include "TextCodec.h"

// Writes a profile to one radio, or with --repeat to one radio after another.
int CmdWrite(const CliContext& ctx) {
    const CCliArgs args(ctx.args, {"--port", "--password", "--backup-dir", "--trace"},
                        {"--yes", "--repeat", "--set-clock", "--backup", "--verify"});
    args.ExpectPositionals(1, 1);
    const bool repeat = args.Flag("--repeat");
    if (CliRadio::ChoosePort(args).empty()) {
        return CliRadio::NoPort();
    }
    CCliSession session(ctx, args.Flag("--yes"));
    CQMVVLTDoc doc(session.App(), session.InstallPath(), session);
    if (!doc.Open(args.Positionals()[0])) {
        return kExitDataError;
    }
    doc.SetUsePcClock(args.Flag("--set-clock"));
    CCliRadioScope radio(args);
    if (!radio.Ready()) {
        return kExitDataError;
    }
    CTransferContext& context = radio.Context();
    CCliRadioUi ui(session, context, args.Value("--password"));
    CRadioCommandChain chain(context, session.App().UpDownGrade(), ui);
    CCliRegister reg(ctx);
    chain.SetOutcomeObserver(reg.Observer());
    if (const auto folder = args.Value("--backup-dir")) {
        chain.SetBackupFolder(*folder);
    } else if (args.Flag("--backup")) {
        chain.SetBackupFolder(CRadioBackup::UserFolder());
    }
    chain.SetVerify(args.Flag("--verify"));
    int written = 0;
    std::vector<std::string> failed;
    int status = kExitOk;
    for (;;) {
        // Chosen anew for every radio: a cable plugged in again may have another name.
        const std::string port = CliRadio::ChoosePort(args);
        context.SetCurrentRadioPid(u"");
        const int code =
            port.empty() ? (CliRadio::NoPort(), kPortUnavailable) : chain.Write(port, doc);
        if (chain.ProfileRefused() || chain.BackupFailed()) {
            return kExitDataError;  // the reasons have been shown; no radio was written
        }
        if (code == kRadioSuccess) {
            ++written;
            std::cerr << LoadString(MessageId::kWritingSuccess) << " (" << written << ")\n";
        } else {
            const std::string pid = Utf16ToUtf8(context.CurrentRadioPid());
            failed.push_back(pid.empty() ? LoadString(MessageId::kPidUnknown) : pid);
            // A verification's differences have been shown; they are not a radio failure.
            status = port.empty()             ? kExitDataError
                     : chain.VerifyMismatch() ? kExitVerifyMismatch
                                              : ui.ExitStatus(code);
        }
        if (!repeat || code == kUserCancelled) {
            break;
        }
        std::cerr << LoadString(MessageId::kNextRadio) << std::flush;
        if (!CTerminalPrompt::ReadLine()) {
            std::cerr << "\n";
            break;
        }
    }
    if (repeat) {
        std::cerr << CStringTable::Instance().Format(
                         MessageId::kSummary,
                         {std::to_string(written), std::to_string(failed.size())})
                  << "\n";
        if (!failed.empty()) {
            std::string list;
            for (const std::string& pid : failed) {
                list += (list.empty() ? "" : ", ") + pid;
            }
            std::cerr << CStringTable::Instance().Format(MessageId::kFailedPids, {list}) << "\n";
        }
    }
    return status;
}
