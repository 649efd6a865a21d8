#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "CPtyCli.h"
#include "CliRunner.h"
#include "RadioProtocol.h"
#include "SimFixture.h"

namespace {

using namespace std::chrono_literals;

const std::string kSample = std::string(QMVVLT_SOURCE_DATA_DIR) + "/samples/SampleProfile.xml";
const std::string kCancelled = "Error: Operation Failed (User Canceled).";
const std::string kPartly = "The radio may be partly programmed";

std::vector<std::string> Cli(std::vector<std::string> args) {
    static const std::string config = WriteTempFile("keep", "") + ".cfg";
    args.insert(args.begin(), {"--config", config});
    return args;
}

const std::string& SampleProfile() {
    static const std::string profile = [] {
        const std::string path = WriteTempFile("interrupt.lam", "") + ".lam";
        RunCli(Cli({"import", kSample, "-o", path}));
        return path;
    }();
    return profile;
}

bool Received(const CSimRadio& sim, std::uint8_t opcode) {
    const auto requests = sim.radio.Requests();
    return std::find(requests.begin(), requests.end(), opcode) != requests.end();
}

// A radio of model group 3: a write reads its own PID, its version and its password first.
CVirtualCodeplug GroupThreeRadio(std::u16string password = u"") {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.version.firmware_version = 8;
    image.settings.password = std::move(password);
    return image;
}

}  // namespace

// Ctrl-C at any moment before the radio is written ends the write with nothing written: during
// the own-PID, version and password reads, between them, and in the write's own checks.
TEST(CliInterrupt, CtrlCBeforeTheRadioIsWrittenIsNeverLost) {
    const std::string profile = SampleProfile();
    CSimFaults paced;
    paced.pace = true;
    for (int offsetMs = 0; offsetMs <= 450; offsetMs += 50) {
        CSimRadio sim(GroupThreeRadio(), paced);
        CPtyCli cli(Cli({"write", profile, "--port", sim.Port(), "--yes"}));
        const auto start = std::chrono::steady_clock::now();
        while (sim.radio.Requests().empty() && std::chrono::steady_clock::now() - start < 10s) {
            std::this_thread::sleep_for(2ms);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(offsetMs));
        cli.Type("\x03");
        const auto status = cli.Wait(15s);
        EXPECT_EQ(status, 112) << "offset " << offsetMs << "\n" << cli.Output();
        EXPECT_FALSE(Received(sim, kOpFinishWrite)) << "offset " << offsetMs;
        EXPECT_NE(cli.Output().find(kCancelled), std::string::npos) << cli.Output();
        // Said exactly when the radio had been written to.
        EXPECT_EQ(cli.Output().find(kPartly) != std::string::npos, Received(sim, kOpWriteSettings))
            << "offset " << offsetMs << "\n"
            << cli.Output();
    }
}

TEST(CliInterrupt, CtrlCAtThePasswordPromptRestoresEcho) {
    CSimRadio sim(GroupThreeRadio(u"1234"));
    const std::string out = WriteTempFile("pw", "") + ".lam";
    CPtyCli cli(Cli({"read", "--port", sim.Port(), "-o", out}));
    ASSERT_TRUE(cli.WaitFor("Please enter the password:", 10s)) << cli.Output();
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(cli.Echoes()) << "the password is typed unseen";
    cli.Type("12\x03");
    EXPECT_EQ(cli.Wait(3s), 112) << cli.Output();
    EXPECT_TRUE(cli.Echoes());
    EXPECT_NE(cli.Output().find(kCancelled), std::string::npos) << cli.Output();
    EXPECT_FALSE(Received(sim, kOpReadContact));
}

// A pending y/N question ends on Ctrl-C without waiting for Enter, and nothing is written.
TEST(CliInterrupt, CtrlCAnswersAPendingWarningAtOnce) {
    CSimRadio sim;  // its own PID is in no profile: the write asks first
    CPtyCli cli(Cli({"write", SampleProfile(), "--port", sim.Port()}));
    ASSERT_TRUE(cli.WaitFor("[y/N]", 10s)) << cli.Output();
    cli.Type("\x03");
    EXPECT_EQ(cli.Wait(3s), 112) << cli.Output();
    EXPECT_FALSE(Received(sim, kOpWriteSettings));
}

TEST(CliInterrupt, CtrlCAtTheNextRadioPromptEndsWithTheSummary) {
    CSimRadio sim;
    CPtyCli cli(Cli({"write", SampleProfile(), "--port", sim.Port(), "--yes", "--repeat"}));
    ASSERT_TRUE(cli.WaitFor("Connect the next radio", 20s)) << cli.Output();
    cli.Type("\x03");
    EXPECT_EQ(cli.Wait(3s), 0) << cli.Output();
    EXPECT_NE(cli.Output().find("Radios written: 1, failed: 0."), std::string::npos)
        << cli.Output();
}

// A failed radio in a run of several is counted, named by its PID, and decides the exit status.
TEST(CliRepeat, AFailedRadioIsSummedUpAndFailsTheRun) {
    CSimFaults rejecting;
    rejecting.reject = CSimFaults::Reject::kQ;
    rejecting.rejectValue = 1;
    rejecting.rejectOpcode = kOpWriteContact;
    CSimRadio failing(CVirtualRadio::DefaultImage(), rejecting);
    CSimRadio good;
    const std::filesystem::path link = WriteTempFile("repeat", "") + ".port";
    std::filesystem::create_symlink(failing.Port(), link);
    CPtyCli cli(Cli({"write", SampleProfile(), "--port", link.string(), "--yes", "--repeat"}));
    ASSERT_TRUE(cli.WaitFor("Connect the next radio", 20s)) << cli.Output();
    // The cable is plugged into the next radio.
    std::filesystem::remove(link);
    std::filesystem::create_symlink(good.Port(), link);
    cli.Type("\n");
    ASSERT_TRUE(cli.WaitFor("Writing success! (1)", 20s)) << cli.Output();
    ASSERT_TRUE(cli.WaitFor("Connect the next radio", 5s)) << cli.Output();
    cli.Type("\x04");  // end of input
    EXPECT_EQ(cli.Wait(5s), 108) << cli.Output();
    EXPECT_NE(cli.Output().find("Radios written: 1, failed: 1."), std::string::npos)
        << cli.Output();
    EXPECT_NE(cli.Output().find("Failed: 10000001."), std::string::npos) << cli.Output();
}
