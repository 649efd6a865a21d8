#include <gtest/gtest.h>

#include <filesystem>

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
    const CliResult result = RunCli(Cli({"reset", "--port", sim.Port(), "--yes"}));
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

// A trace file that cannot be written stops every radio command before it talks to the radio.
TEST(CliRadioFailures, AnUnwritableTraceStopsTheCommandFirst) {
    CVirtualCodeplug image = CVirtualRadio::DefaultImage();
    image.texts[0] = u"kept";
    CSimRadio sim(image);
    const std::string trace = "/no-such-folder/trace.txt";
    const std::string profile = WriteTempFile("trace-read", "") + ".lam";
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"reset", "--yes"}, {"capture-pid"}, {"read", "-o", profile}}) {
        std::vector<std::string> args = command;
        args.insert(args.end(), {"--port", sim.Port(), "--trace", trace});
        const CliResult r = RunCli(Cli(args));
        EXPECT_EQ(r.exitCode, 2) << command[0];
        EXPECT_NE(r.err.find("The trace file " + trace + " cannot be written."), std::string::npos)
            << r.err;
    }
    EXPECT_EQ(sim.radio.Image().texts[0], u"kept");
}

TEST(CliRadioFailures, ExitWithOneHundredPlusTheCodeAndTheMessage) {
    CSimFaults faults;
    faults.reject = CSimFaults::Reject::kQ;
    faults.rejectValue = 0xFD;
    CSimRadio sim(CVirtualRadio::DefaultImage(), faults);
    const CliResult rejected = RunCli(Cli({"reset", "--port", sim.Port(), "--yes"}));
    EXPECT_EQ(rejected.exitCode, 114);
    EXPECT_NE(rejected.err.find("Error: Please perform a radio reset."), std::string::npos)
        << rejected.err;
}

// Every port that does not open keeps the usual text and adds why, from the device path.
TEST(CliRadioFailures, APortThatDoesNotOpenSaysWhy) {
    const std::string folder = WriteTempFile("port-folder", "") + ".d";
    std::filesystem::create_directory(folder);
    const std::string file = WriteTempFile("port-file", "not a radio");
    struct Case {
        std::string port;
        std::string reason;
    };
    for (const Case& c : {Case{"/dev/no-such-radio", "/dev/no-such-radio: no such device."},
                          Case{folder, folder + " is a folder, not a serial port."},
                          Case{file, file + " is a regular file, not a serial port."},
                          Case{"COM7", "/dev/COM7: no such device."}}) {
        const CliResult r = RunCli(Cli({"reset", "--yes", "--port", c.port}));
        EXPECT_EQ(r.exitCode, 101) << c.port;
        EXPECT_NE(r.err.find("Error: COM port already in use by another application.\n" + c.reason),
                  std::string::npos)
            << r.err;
    }
}

TEST(CliRadioFailures, ARelativePortPathIsTakenFromTheCurrentFolder) {
    CSimRadio sim;
    const std::filesystem::path dir = WriteTempFile("rel", "") + ".d";
    std::filesystem::create_directories(dir / "x");
    std::filesystem::create_symlink(sim.Port(), dir / "x" / "radio");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    const CliResult r = RunCli(Cli({"reset", "--yes", "--port", "x/radio"}));
    std::filesystem::current_path(cwd);
    EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST(CliPorts, NamesTheCurrentPort) {
    const CliResult result = RunCli(Cli({"ports"}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("current port: "), std::string::npos);
}

}  // namespace
