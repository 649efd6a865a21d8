#include <gtest/gtest.h>

#include "CliRunner.h"
#include "SimFixture.h"

namespace {

// The config store of these runs lives in a folder of its own.
std::vector<std::string> Cli(std::vector<std::string> args) {
    static const std::string config = WriteTempFile("keep", "") + ".cfg";
    args.insert(args.begin(), {"--config", config});
    return args;
}

TEST(CliReset, ResetsTheVirtualRadio) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.texts[0] = u"gone after reset";
    CSimRadio sim(image);
    const CliResult result = RunCli(Cli({"reset", "--port", sim.Port()}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(sim.radio.Image().texts[0].empty());
}

TEST(CliCapturePid, PrintsTheCapturedPid) {
    CSimRadio sim;
    sim.radio.SetCapture(u"10000777", 0);
    const CliResult result = RunCli(Cli({"capture-pid", "--port", sim.Port()}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "10000777\n");
}

TEST(CliRadioFailures, ExitWithOneHundredPlusTheCodeAndTheMessage) {
    CSimFaults faults;
    faults.reject = CSimFaults::Reject::kQ;
    faults.rejectValue = 0xFD;
    CSimRadio sim(CVirtualRadio::DefaultImage(), faults);
    const CliResult rejected = RunCli(Cli({"reset", "--port", sim.Port()}));
    EXPECT_EQ(rejected.exitCode, 114);
    EXPECT_NE(rejected.err.find("Error: Please perform a radio reset."), std::string::npos)
        << rejected.err;

    const CliResult missing = RunCli(Cli({"reset", "--port", "/dev/no-such-radio"}));
    EXPECT_EQ(missing.exitCode, 101);
    EXPECT_NE(missing.err.find("Error: COM port already in use by another application."),
              std::string::npos)
        << missing.err;
}

TEST(CliPorts, NamesTheCurrentPort) {
    const CliResult result = RunCli(Cli({"ports"}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("current port: "), std::string::npos);
}

}  // namespace
