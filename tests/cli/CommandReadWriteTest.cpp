#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "CDataAdaptor.h"
#include "CliRunner.h"
#include "SimFixture.h"

namespace {

const std::string kSample = std::string(QMVVLT_SOURCE_DATA_DIR) + "/samples/SampleProfile.xml";

std::vector<std::string> Cli(std::vector<std::string> args) {
    static const std::string config = WriteTempFile("keep", "") + ".cfg";
    args.insert(args.begin(), {"--config", config});
    return args;
}

std::string TempPath(const std::string& name) {
    return WriteTempFile(name, "") + ".out";
}

}  // namespace

TEST(CliReadWrite, ReadGivesAProfileOfTheRadio) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.texts[0] = u"From the radio";
    CSimRadio sim(image);
    const std::string profile = TempPath("read.lam");
    const CliResult read = RunCli(Cli({"read", "--port", sim.Port(), "-o", profile}));
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const CliResult shown = RunCli(Cli({"show", profile}));
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("1. From the radio"), std::string::npos) << shown.out;
}

TEST(CliReadWrite, PasswordFromTheCommandLineOrNothingRead) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.settings.password = u"1234";
    CSimRadio sim(image);
    const std::string profile = TempPath("locked.lam");
    // Without a terminal a wrong password cannot be asked again: the read is abandoned.
    const CliResult wrong =
        RunCli(Cli({"read", "--port", sim.Port(), "--password", "9999", "-o", profile}));
    EXPECT_EQ(wrong.exitCode, 112);
    EXPECT_NE(wrong.err.find("The password is not correct. Please check it."), std::string::npos)
        << wrong.err;
    const CliResult right =
        RunCli(Cli({"read", "--port", sim.Port(), "--password", "1234", "-o", profile}));
    EXPECT_EQ(right.exitCode, 0) << right.err;
}

TEST(CliReadWrite, WriteOneRadioAfterAnother) {
    CSimRadio sim;
    const std::string profile = TempPath("write.lam");
    ASSERT_EQ(RunCli(Cli({"import", kSample, "-o", profile})).exitCode, 0);
    // Without --yes and without a terminal the radio-not-in-profile warning is answered No.
    const CliResult unasked = RunCli(Cli({"write", profile, "--port", sim.Port()}));
    EXPECT_EQ(unasked.exitCode, 112) << unasked.err;
    EXPECT_NE(unasked.err.find("Warning: The radio being programmed is not in this profile."),
              std::string::npos);
    EXPECT_TRUE(sim.radio.Image().texts[0].empty());

    // Two radios: one Enter between them, then the end of input.
    const CliResult repeated =
        RunCli(Cli({"write", profile, "--port", sim.Port(), "--yes", "--repeat"}), "\n");
    EXPECT_EQ(repeated.exitCode, 0) << repeated.err;
    EXPECT_NE(repeated.err.find("Writing success! (2)"), std::string::npos) << repeated.err;
    EXPECT_EQ(sim.radio.Image().texts[0], u"Call the office");
}

// Nothing the radio would keep cut or garbled is written: the profile is refused, each offending
// contact or text named, before a byte goes to the radio.
TEST(CliReadWrite, AProfileTheRadioCannotTakeIsRefusedBeforeAnythingIsSent) {
    struct Case {
        const char* what;
        std::string from;
        std::string to;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"character above U+00FF",
         "name=\"Dispatch\"",
         "name=\"Caf\u00e9 \u2615\"",
         {"Error: Unable to convert VLT character format into the radio text format.",
          "Contact \"Caf\u00e9 \u2615\": Contact name can only contain ISO-8859-1 characters."}},
        {"name longer than the radio holds",
         "name=\"Dispatch\"",
         "name=\"" + std::string(30, 'N') + "\"",
         {"Contact \"" + std::string(30, 'N') +
          "\": The name is longer than the radio can hold (25 characters)."}},
        {"text longer than the radio holds",
         "txt=\"Call the office\"",
         "txt=\"" + std::string(100, 'T') + "\"",
         {"Text message \"" + std::string(100, 'T') +
          "\": The text is longer than the radio can hold (80 characters)."}},
        {"PID out of range",
         "pid=\"10000003\"",
         "pid=\"99999999999\"",
         {"Contact \"Bruno Costa\": The PID is not a valid PID"}},
    };
    std::ifstream in(kSample, std::ios::binary);
    const std::string sample((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string text = sample;
        const auto at = text.find(c.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, c.from.size(), c.to);
        const std::string profile = TempPath("unwritable.lam");
        ASSERT_EQ(
            RunCli(Cli({"import", WriteTempFile("unwritable.xml", text), "-o", profile})).exitCode,
            0);
        CSimRadio sim;
        const CliResult r = RunCli(Cli({"write", profile, "--port", sim.Port(), "--yes"}));
        EXPECT_EQ(r.exitCode, 2);
        for (const std::string& message : c.messages) {
            EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        }
        EXPECT_TRUE(sim.radio.Requests().empty());
    }
}

TEST(CliReadWrite, ReportsOfAProfileReadFromTheRadio) {
    std::ifstream in(kSample, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CVirtualCodeplug image;
    ASSERT_EQ(CDataAdaptor::XML2VirtualCP(text, image, u""), 1);
    CSimRadio sim(image);
    const std::string profile = TempPath("radio-report.lam");
    ASSERT_EQ(RunCli(Cli({"read", "--port", sim.Port(), "-o", profile})).exitCode, 0);
    for (const char* kind : {"radio", "overview"}) {
        for (const char* extension : {".html", ".pdf"}) {
            const std::string out = TempPath(std::string(kind) + extension) + extension;
            const CliResult r = RunCli(Cli({"report", profile, "--kind", kind, "-o", out}));
            EXPECT_EQ(r.exitCode, 0) << kind << extension << r.err;
        }
    }
}

TEST(CliReadWrite, WhatEveryRadioHoldsReadsIntoAProfile) {
    std::ifstream in(kSample, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CVirtualCodeplug sample;
    ASSERT_EQ(CDataAdaptor::XML2VirtualCP(text, sample, u""), 1);
    struct Case {
        const char* what;
        std::function<void(CVirtualCodeplug&)> edit;
        const char* shown;
    };
    const Case cases[] = {
        {"own PID placeholder", [](CVirtualCodeplug& i) { i.limits.pid = u"XXXXXXXXXXX"; },
         "XXXXXXXXXXX"},
        {"letters in a PID", [](CVirtualCodeplug& i) { i.contacts[0].pid = u"12AB"; }, "12AB"},
        {"control byte in a name",
         [](CVirtualCodeplug& i) { i.contacts[0].name = u"Dis\x01patch"; }, "Dis\xE2\x90\x81patch"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CVirtualCodeplug image = sample;
        c.edit(image);
        CSimRadio sim(image);
        const std::string profile = TempPath("radio-holds.lam");
        const CliResult read = RunCli(Cli({"read", "--port", sim.Port(), "-o", profile}));
        ASSERT_EQ(read.exitCode, 0) << read.err;
        const CliResult shown = RunCli(Cli({"show", profile}));
        ASSERT_EQ(shown.exitCode, 0) << shown.err;
        EXPECT_NE(shown.out.find(c.shown), std::string::npos) << shown.out;
    }
}

// The output folder is checked before the transfer; a profile that cannot be saved where asked
// is kept in "recovered/" beside the configuration.
TEST(CliReadWrite, ReadChecksItsFolderFirstAndKeepsWhatItCannotSave) {
    CSimRadio sim;
    const CliResult missing =
        RunCli(Cli({"read", "--port", sim.Port(), "-o", "/no/such/folder/r.lam"}));
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("The folder /no/such/folder does not exist."), std::string::npos)
        << missing.err;
    EXPECT_TRUE(sim.radio.Requests().empty());

    const std::filesystem::path folder = TempPath("a-folder");
    std::filesystem::create_directory(folder);
    const CliResult unsaved = RunCli(Cli({"read", "--port", sim.Port(), "-o", folder.string()}));
    EXPECT_EQ(unsaved.exitCode, 2);
    const auto kept = unsaved.err.find("the data read from the radio was kept in ");
    ASSERT_NE(kept, std::string::npos) << unsaved.err;
    std::string path = unsaved.err.substr(kept + 41);
    path = path.substr(0, path.find(".\n"));
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
    EXPECT_EQ(RunCli(Cli({"show", path})).exitCode, 0);
}

TEST(CliReadWrite, ALockedRadioWithoutTerminalNeedsThePasswordGiven) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.settings.password = u"1234";
    CSimRadio sim(image);
    const std::string profile = TempPath("env.lam");
    const CliResult none = RunCli(Cli({"read", "--port", sim.Port(), "-o", profile}));
    EXPECT_EQ(none.exitCode, 112);
    EXPECT_NE(none.err.find("A password is needed for this radio"), std::string::npos) << none.err;
    EXPECT_NE(none.err.find("Error: Operation Failed (User Canceled)."), std::string::npos);
    ::setenv("QMVVLT_PASSWORD", "1234", 1);
    const CliResult fromEnvironment = RunCli(Cli({"read", "--port", sim.Port(), "-o", profile}));
    ::unsetenv("QMVVLT_PASSWORD");
    EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err;
}

// A write with every dealer tool: the backup's reads come before the first byte written (as the
// trace shows), and a radio that keeps a contact wrongly fails the write with exit 3.
TEST(CliReadWrite, WriteWithBackupVerifyAndTrace) {
    const std::string profile = TempPath("dealer.lam");
    ASSERT_EQ(RunCli(Cli({"import", kSample, "-o", profile})).exitCode, 0);
    struct Case {
        int corruptContact;
        int exitCode;
        const char* said;
    };
    for (const Case& c : {Case{0, 0, "Verified: "}, Case{1, 3, "Verification failed: "}}) {
        SCOPED_TRACE(c.corruptContact);
        CSimFaults faults;
        faults.corruptContact = c.corruptContact;
        CSimRadio sim(CVirtualRadio::DefaultImage(), faults);
        const std::filesystem::path backups =
            TempPath("backups-" + std::to_string(c.corruptContact));
        std::filesystem::remove_all(backups);
        const std::string trace = TempPath("trace.txt");
        const CliResult written =
            RunCli(Cli({"write", profile, "--port", sim.Port(), "--yes", "--verify", "--backup-dir",
                        backups.string(), "--trace", trace}));
        EXPECT_EQ(written.exitCode, c.exitCode) << written.err;
        EXPECT_NE(written.err.find(c.said), std::string::npos) << written.err;
        ASSERT_TRUE(std::filesystem::is_directory(backups));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(backups),
                                std::filesystem::directory_iterator()),
                  1);

        std::ifstream in(trace);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        const auto lastBackupRead = text.find("TX ReadTextMessage");
        const auto firstWrite = text.find("TX WriteSettings");
        ASSERT_NE(lastBackupRead, std::string::npos) << text;
        ASSERT_NE(firstWrite, std::string::npos) << text;
        EXPECT_LT(lastBackupRead, firstWrite);
        // The read-back follows the write's FinishWrite.
        EXPECT_NE(text.find("TX ReadSettings", text.find("TX FinishWrite")), std::string::npos);
    }
}
