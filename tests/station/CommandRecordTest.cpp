#include <gtest/gtest.h>

#include <filesystem>

#include "CCommandRecorder.h"
#include "CRegisterDatabase.h"
#include "ExpectSoon.h"
#include "MessageId.h"
#include "RadioCommandFixture.h"
#include "RadioResult.h"
#include "StringTable.h"

namespace {

namespace fs = std::filesystem;

fs::path Scratch(const std::string& name) {
    const fs::path folder = TestInstallFolder() / ("records-" + std::to_string(getpid())) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

CRegisterOptions LocalOnly(const fs::path& folder, std::string url = {}) {
    CRegisterOptions options;
    options.url = std::move(url);
    options.localFile = folder / "register.sqlite";
    return options;
}

// A radio whose answers differ from every default, so a field filled from a default shows.
CVirtualCodeplug Radio() {
    CVirtualCodeplug image = RadioImage(7, u"");
    image.limits.pid = u"10000042";
    image.limits.model = u"Q411";
    image.version.codeplug_version = 0x21;
    image.limits.clone_compatibility_version = 10;
    return image;
}

}  // namespace

// Each single-radio command leaves one record with what it learnt of the radio, and a write
// also the profile, the image sent, the backup and the read-back.
TEST_F(RadioCommands, EachCommandLeavesOneRecordOfWhatItDid) {
    using Command = CRadioCommandOutcome::Command;
    struct Case {
        Command command;
        const char* operation;
        const char* firmware;  // "": the command reads no version
        bool written;
        std::string outcomeText;
    };
    const std::string read = LoadString(MessageId::kReadingSuccessful);
    for (const Case& c :
         {Case{Command::kRead, "read", "R5E.07.00", false, read},
          Case{Command::kWrite, "write", "R5E.07.00", true, LoadString(MessageId::kWritingSuccess)},
          Case{Command::kReset, "reset", "", false, LoadString(MessageId::kResetDone)},
          Case{Command::kCapture, "capture", "R5E.07.00", false,
               CStringTable::Instance().Format(MessageId::kCapturedPidOutcome,
                                               {read, "10000077"})}}) {
        SCOPED_TRACE(c.operation);
        const fs::path folder = Scratch(c.operation);
        SampleDocument sample;
        Setup s(Radio(), m_settings);
        s.bench.sim.radio.SetCapture(u"10000077", 0);
        CCommandRecorder recorder(LocalOnly(folder));
        s.chain.SetOutcomeObserver(
            [&](const CRadioCommandOutcome& outcome) { recorder.Record(outcome); });
        s.chain.SetBackupFolder(folder / "backups");
        s.chain.SetVerify(true);
        const std::string port = s.bench.sim.Port();
        int code = 0;
        if (c.command == Command::kRead) {
            CVirtualCodeplug image;
            code = s.chain.Read(port, image);
        } else if (c.command == Command::kWrite) {
            code = s.chain.Write(port, sample.doc);
        } else if (c.command == Command::kReset) {
            code = s.chain.Reset(port);
        } else {
            s.bench.context.ForgetRadio();
            std::u16string pid;
            code = s.bench.operations.CaptureRadioPid(port, pid);
            CRadioCommandOutcome outcome =
                CRadioCommandOutcome::Of(Command::kCapture, s.bench.context, port, code);
            outcome.capturedPid = pid;
            recorder.Record(outcome);
        }
        ASSERT_EQ(code, kRadioSuccess);

        const auto records = recorder.Register()->List();
        ASSERT_EQ(records.size(), 1u);
        const CRegisterRecord& r = records[0];
        EXPECT_EQ(r.operation, c.operation);
        EXPECT_EQ(r.port, port);
        EXPECT_EQ(r.pid, "10000042");
        EXPECT_EQ(r.model, "Q411");
        EXPECT_EQ(r.firmware, c.firmware);
        EXPECT_EQ(r.codeplug, *c.firmware ? "CP03.21.05" : "");
        EXPECT_FALSE(r.operatorName.empty());
        EXPECT_FALSE(r.station.empty());
        EXPECT_EQ(r.outcome, kRadioSuccess);
        EXPECT_EQ(r.outcomeText, c.outcomeText);
        if (c.written) {
            EXPECT_EQ(r.profileFile, "SampleProfile.xml");
            EXPECT_EQ(r.profileHash, ProfileHash(sample.doc.Model().ProfileText()));
            CVirtualCodeplug sent;
            sample.doc.GetVirtualCPData(sent, u"10000042");
            sent.SettingsFromOwnRecord();
            EXPECT_EQ(r.imageHash, ImageHash(sent));
            EXPECT_EQ(r.backupFile, s.chain.LastBackup().string());
            EXPECT_TRUE(fs::exists(r.backupFile));
            EXPECT_EQ(r.verify, RegisterVerify::kPassed);
        } else {
            EXPECT_EQ(r.profileHash, "");
            EXPECT_EQ(r.imageHash, "");
            EXPECT_EQ(r.backupFile, "");
            EXPECT_EQ(r.verify, "");
        }
    }
}

// A write that fails once the radio was written to says so in its record.
TEST_F(RadioCommands, AFailedWriteIsRecordedWithHowFarItGot) {
    const fs::path folder = Scratch("failed");
    SampleDocument sample;
    CSimFaults refused;
    refused.reject = CSimFaults::Reject::kQ;
    refused.rejectValue = 1;
    refused.rejectOpcode = kOpWriteContact;
    Setup s(Radio(), m_settings, refused);
    CCommandRecorder recorder(LocalOnly(folder));
    s.chain.SetOutcomeObserver(
        [&](const CRadioCommandOutcome& outcome) { recorder.Record(outcome); });
    const int code = s.chain.Write(s.bench.sim.Port(), sample.doc);
    ASSERT_EQ(code, kOperationFailed);
    const auto records = recorder.Register()->List();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].outcome, code);
    EXPECT_NE(records[0].outcomeText.find(LoadString(MessageId::kPartlyProgrammed)),
              std::string::npos)
        << records[0].outcomeText;
    EXPECT_FALSE(records[0].imageHash.empty());
}

// A shared register that cannot be reached neither holds up nor fails the write: the record
// waits on this computer and the user is told.
TEST_F(RadioCommands, AnUnreachableRegisterNeitherHoldsUpNorFailsAWrite) {
    const fs::path folder = Scratch("unreachable");
    SampleDocument sample;
    Setup s(Radio(), m_settings);
    CRegisterOptions options =
        LocalOnly(folder, "postgresql://clerk@/fleet?host=" + (folder / "no-server").string());
    options.retry = std::chrono::hours(1);
    CCommandRecorder recorder(options);
    s.chain.SetOutcomeObserver(
        [&](const CRadioCommandOutcome& outcome) { recorder.Record(outcome); });
    ASSERT_EQ(s.chain.Write(s.bench.sim.Port(), sample.doc), kRadioSuccess);
    ASSERT_TRUE(recorder.Register()->Flush());
    EXPECT_SOON(!recorder.Problem().empty());
    CRegisterDatabase local(CRegisterLocation::Sqlite(options.localFile));
    EXPECT_EQ(local.OutboxCount(), 1);
    ASSERT_EQ(local.List().size(), 1u);
    EXPECT_EQ(local.List()[0].pid, "10000042");

    // An address that is none: the commands go on without records, and the user is told.
    CCommandRecorder bad(LocalOnly(folder, "ftp://nowhere"));
    EXPECT_EQ(bad.Register(), nullptr);
    EXPECT_FALSE(bad.Problem().empty());
    s.chain.SetOutcomeObserver([&](const CRadioCommandOutcome& outcome) { bad.Record(outcome); });
    EXPECT_EQ(s.chain.Write(s.bench.sim.Port(), sample.doc), kRadioSuccess);
}
