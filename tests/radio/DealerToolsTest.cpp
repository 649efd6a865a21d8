#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <regex>

#include "CTraceFolder.h"
#include "CWireTrace.h"
#include "MessageId.h"
#include "RadioCommandFixture.h"
#include "RadioResult.h"
#include "StringTable.h"
#include "TextCodec.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder under the test install's scratch space.
fs::path ScratchFolder(const std::string& name) {
    const fs::path folder = TestInstallFolder() / ("dealer-" + std::to_string(getpid())) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::vector<std::string> Lines(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A trace line without its time stamp; the stamp itself must be there to the millisecond.
std::string Unstamped(const std::string& line) {
    static const std::regex stamp(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )");
    std::smatch m;
    EXPECT_TRUE(std::regex_search(line, m, stamp)) << line;
    return m.empty() ? line : m.suffix().str();
}

std::vector<std::string> WriteOpcodesIn(const std::vector<std::uint8_t>& requests) {
    std::vector<std::string> writes;
    for (std::uint8_t op : requests) {
        if (op == kOpWriteSettings || op == kOpWriteContact || op == kOpWriteTextMessage ||
            op == kOpFinishWrite) {
            writes.push_back(RadioCommandName(op));
        }
    }
    return writes;
}

}  // namespace

// A short read whose first reply is spoiled: the trace shows the spoiled reply with its mark, the
// retry, and then the exchange as the radio answered it.
TEST(WireTrace, ShortReadRecordsEveryFrameAndMarksTheRetry) {
    struct Case {
        const char* name;
        CSimFaults faults;
        std::string mark;
    };
    CSimFaults badChecksum;
    badChecksum.badChecksumReplies = 1;
    CSimFaults silence;
    silence.silentFromFrame = 1;
    silence.silentFrames = 1;
    for (const Case& c : {Case{"checksum", badChecksum, "[bad checksum, attempt 1/3]"},
                          Case{"silence", silence, "[time-out, attempt 1/3]"}}) {
        SCOPED_TRACE(c.name);
        const fs::path file = ScratchFolder(c.name) / "trace.txt";
        CTransferBench bench(CVirtualRadio::DefaultImage(), c.faults);
        bench.context.SetTrace(std::make_shared<CWireTrace>(file));
        CVersionBlock version;
        ASSERT_EQ(bench.operations.ReadRadioVersion(bench.sim.Port(), version), kRadioSuccess);
        bench.context.SetTrace(nullptr);

        std::vector<std::string> lines;
        for (const std::string& line : Lines(file)) {
            lines.push_back(Unstamped(line));
        }
        // Identify (GetVersion with its retry, OpenLink), then GetVersion again.
        ASSERT_EQ(lines.size(), 10u);
        EXPECT_EQ(lines[0], "-- open " + bench.sim.Port());
        EXPECT_EQ(lines[1], "TX GetVersion       F2 9B 25 4D");
        EXPECT_EQ(lines[2].rfind("RX GetVersion       " + c.mark, 0), 0u) << lines[2];
        EXPECT_EQ(lines[3], "TX GetVersion       [retry, attempt 2/3] F2 9B 25 4D");
        EXPECT_EQ(lines[4].rfind("RX GetVersion       50 ", 0), 0u) << lines[4];
        EXPECT_EQ(lines[5], "TX OpenLink         F2 9B 26 4C");
        EXPECT_EQ(lines[6], "RX OpenLink         50 F2 41 50 7C");
        EXPECT_EQ(lines[7], "TX GetVersion       F2 9B 25 4D");
        // Every reply of GetVersion is the same frame: the retried one came back whole.
        EXPECT_EQ(lines[8], lines[4]);
        EXPECT_EQ(lines[9], "-- close, result 1");
        if (c.mark.find("checksum") != std::string::npos) {
            // The spoiled reply differs from the good one in its checksum byte only.
            const std::string good = lines[4].substr(std::string("RX GetVersion       ").size());
            const std::string bad = lines[2].substr(lines[2].size() - good.size());
            EXPECT_EQ(bad.substr(0, good.size() - 2), good.substr(0, good.size() - 2));
            EXPECT_NE(bad, good);
        }
    }
}

TEST(WireTrace, TheFolderKeepsTheTenNewestTracesAndNothingElseIsTouched) {
    const fs::path folder = ScratchFolder("traces");
    const std::vector<std::string> others = {"10000001-20261209-001807.lam", "trace-notes.txt",
                                             "trace-20261209-001807.txt"};
    for (const std::string& name : others) {
        std::ofstream(folder / name) << "keep";
    }
    std::vector<std::string> started;
    for (int i = 0; i < 12; ++i) {
        const auto trace = CTraceFolder(folder).StartTrace();
        ASSERT_TRUE(trace);
        trace->Note("run " + std::to_string(i));
        started.push_back(trace->Path().filename().string());
    }
    std::vector<std::string> traces;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (CTraceFolder::IsTraceName(name)) {
            traces.push_back(name);
        } else {
            EXPECT_NE(std::find(others.begin(), others.end(), name), others.end()) << name;
        }
    }
    std::sort(traces.begin(), traces.end());
    EXPECT_EQ(traces, std::vector<std::string>(started.begin() + 2, started.end()));
    for (const std::string& name : others) {
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    }
}

TEST_F(RadioCommands, TheBackupIsOnDiskBeforeAnythingIsWritten) {
    SampleDocument sample;
    CVirtualCodeplug before = RadioImage(8, u"");
    before.texts[0] = u"held before";
    Setup s(before, m_settings);
    const fs::path folder = ScratchFolder("backups") / "backups";
    s.chain.SetBackupFolder(folder);
    std::vector<fs::path> onDiskAtWrite;
    std::vector<std::string> writesBeforeWrite;
    s.ui.beforeOperation = [&](RadioOperation which) {
        if (which == RadioOperation::kWriteCodeplug) {
            writesBeforeWrite = WriteOpcodesIn(s.bench.Requests());
            for (const auto& entry : fs::directory_iterator(folder)) {
                onDiskAtWrite.push_back(entry.path());
            }
        }
    };
    ASSERT_EQ(s.chain.Write(s.bench.sim.Port(), sample.doc), kRadioSuccess);
    EXPECT_TRUE(writesBeforeWrite.empty());
    ASSERT_EQ(onDiskAtWrite, std::vector<fs::path>{s.chain.LastBackup()});
    const std::string name = s.chain.LastBackup().filename().string();
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(10000001-\d{8}-\d{6}\.lam)"))) << name;
    EXPECT_EQ(s.ui.notes.front(), CStringTable::Instance().Format(MessageId::kBackedUpTo,
                                                                  {s.chain.LastBackup().string()}));

    // The backup is a profile of what the radio held, not of what was written.
    SampleDocument::CNoUi ui;
    CQMVVLTDoc backup(sample.app, TestInstallFolder(), ui);
    ASSERT_TRUE(backup.Open(s.chain.LastBackup()));
    CVirtualCodeplug image;
    backup.GetVirtualCPData(image, {});
    EXPECT_EQ(image.texts[0], u"held before");
    EXPECT_NE(s.bench.sim.radio.Image().texts[0], u"held before");

    // A second write keeps the first backup.
    const fs::path first = s.chain.LastBackup();
    ASSERT_EQ(s.chain.Write(s.bench.sim.Port(), sample.doc), kRadioSuccess);
    EXPECT_NE(s.chain.LastBackup(), first);
    EXPECT_TRUE(fs::exists(first));
}

TEST_F(RadioCommands, AWriteIsRefusedWhenTheBackupCannotBeWritten) {
    SampleDocument sample;
    struct Case {
        const char* name;
        bool readOnly;  // a read-only folder; else a file stands where the folder should be
    };
    for (const Case& c : {Case{"read-only", true}, Case{"file-in-the-way", false}}) {
        SCOPED_TRACE(c.name);
        if (c.readOnly && geteuid() == 0) {
            continue;  // permissions do not stop root
        }
        Setup s(RadioImage(8, u""), m_settings);
        const fs::path base = ScratchFolder(c.name);
        fs::path folder = base / "backups";
        if (c.readOnly) {
            fs::create_directories(folder);
            fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        } else {
            std::ofstream(base / "file") << "x";
            folder = base / "file" / "backups";
        }
        s.chain.SetBackupFolder(folder);
        EXPECT_EQ(s.chain.Write(s.bench.sim.Port(), sample.doc), kOperationFailed);
        EXPECT_TRUE(WriteOpcodesIn(s.bench.Requests()).empty());
        EXPECT_EQ(std::count(s.ui.kinds.begin(), s.ui.kinds.end(), RadioOperation::kWriteCodeplug),
                  0);
        ASSERT_EQ(s.ui.messages.size(), 1u);
        EXPECT_EQ(s.ui.messages[0].rfind(LoadString(MessageId::kBackupFailed) + "\n", 0), 0u);
        EXPECT_TRUE(s.chain.LastBackup().empty());
        fs::permissions(base, fs::perms::owner_all, fs::perm_options::add);
        if (c.readOnly) {
            fs::permissions(folder, fs::perms::owner_all);
            EXPECT_TRUE(fs::is_empty(folder));
        }
    }
}

TEST_F(RadioCommands, VerifyPassesAGoodRadioAndNamesTheFieldAFaultyOneGotWrong) {
    SampleDocument sample;
    struct Case {
        int corruptContact;
    };
    for (const Case& c : {Case{0}, Case{2}}) {
        SCOPED_TRACE(c.corruptContact);
        CSimFaults faults;
        faults.corruptContact = c.corruptContact;
        Setup s(RadioImage(8, u""), m_settings, faults);
        s.chain.SetVerify(true);
        const int code = s.chain.Write(s.bench.sim.Port(), sample.doc);
        EXPECT_EQ(s.ui.kinds.back(), RadioOperation::kVerify);
        if (c.corruptContact == 0) {
            EXPECT_EQ(code, kRadioSuccess);
            EXPECT_FALSE(s.chain.VerifyMismatch());
            EXPECT_EQ(s.ui.notes, std::vector<std::string>{LoadString(MessageId::kVerified)});
            EXPECT_TRUE(s.ui.messages.empty());
            continue;
        }
        EXPECT_EQ(code, kOperationFailed);
        EXPECT_TRUE(s.chain.VerifyMismatch());
        // The contact as the radio keeps it, and the PID the write sent for it.
        const CContactRecord kept =
            s.bench.sim.radio.Image().contacts[static_cast<std::size_t>(c.corruptContact - 1)];
        std::u16string sentPid = kept.pid;
        sentPid.back() = sentPid.back() == u'0' ? u'9' : static_cast<char16_t>(sentPid.back() - 1);
        const std::string number = std::to_string(c.corruptContact);
        ASSERT_EQ(s.ui.messages.size(), 1u);
        EXPECT_EQ(s.ui.messages[0], LoadString(MessageId::kVerifyFailed) + "\n" +
                                        CStringTable::Instance().Format(
                                            MessageId::kVerifyContactDiffers,
                                            {number, Utf16ToUtf8(kept.name), "pid",
                                             Utf16ToUtf8(kept.pid), Utf16ToUtf8(sentPid)}));
    }
}
