#include "CCableDiscovery.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "CPseudoTerminal.h"

namespace {

class CFakeLister : public IPortLister {
  public:
    std::vector<PortDescription> Ports() const override { return ports; }
    std::vector<PortDescription> ports;
};

PortDescription Port(std::string name, std::string description = "",
                     std::string manufacturer = "FTDI", std::string serial = "A1") {
    return {name, "/dev/" + name, std::move(description), std::move(manufacturer),
            std::move(serial)};
}

struct CurrentPortCase {
    const char* name;
    std::vector<PortDescription> ports;
    PortSettings settings;
    bool force;
    std::string expected;
};

class CurrentPort : public testing::TestWithParam<CurrentPortCase> {};
// Test names show the case name, not the bytes of the case.
void PrintTo(const CurrentPortCase& c, std::ostream* os) {
    *os << c.name;
}

TEST_P(CurrentPort, FollowsTheStoredChoiceAndTheExistingPorts) {
    CFakeLister lister;
    lister.ports = GetParam().ports;
    const CCableDiscovery discovery(lister, std::chrono::milliseconds(0));
    EXPECT_EQ(discovery.GetCurrentPort(GetParam().force, GetParam().settings), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CurrentPort,
    testing::Values(
        CurrentPortCase{"StoredPortMissingGivesLowest",
                        {Port("COM3"), Port("COM4")},
                        {0, "COM7"},
                        false,
                        "COM3"},
        CurrentPortCase{
            "StoredPortExists", {Port("COM3"), Port("COM4")}, {0, "COM4"}, false, "COM4"},
        CurrentPortCase{"StoredByDevicePath",
                        {Port("ttyUSB0"), Port("ttyUSB1")},
                        {0, "/dev/ttyUSB1"},
                        false,
                        "/dev/ttyUSB1"},
        CurrentPortCase{"AutoDetectWithoutCableGivesLowest",
                        {Port("COM4"), Port("COM3")},
                        {1, "COM4"},
                        false,
                        "COM3"},
        CurrentPortCase{"CableInLowerCase",
                        {Port("COM3"), Port("COM5", "br qmv cable")},
                        {1, ""},
                        false,
                        "COM5"},
        CurrentPortCase{"FirstOfTwoCables",
                        {Port("COM3"), Port("COM8", "BR QMV CABLE"), Port("COM6", "BR QMV CABLE")},
                        {1, ""},
                        false,
                        "COM8"},
        CurrentPortCase{"CableWithoutSerialNumberIsNotTrusted",
                        {Port("COM3"), Port("COM5", "BR QMV CABLE", "FTDI", "")},
                        {1, ""},
                        false,
                        "COM3"},
        CurrentPortCase{"ForcedDetectIgnoresTheStoredPort",
                        {Port("COM3"), Port("COM5", "BR QMV CABLE")},
                        {0, "COM3"},
                        true,
                        "COM5"},
        CurrentPortCase{"UnreadableAutoDetectGivesLowest",
                        {Port("COM4"), Port("COM3")},
                        {-1, "COM4"},
                        false,
                        "COM3"},
        CurrentPortCase{"Com9BeforeCom10", {Port("COM10"), Port("COM9")}, {0, ""}, false, "COM9"},
        CurrentPortCase{"NoPortsAtAll", {}, {0, "COM1"}, false, ""}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ValidatePort, KeepsAPseudoTerminalTheListDoesNotShow) {
    CPseudoTerminal line;
    ASSERT_TRUE(line.IsOpen());
    CFakeLister lister;
    lister.ports = {Port("ttyS0")};
    const CCableDiscovery discovery(lister, std::chrono::milliseconds(0));
    EXPECT_EQ(discovery.ValidatePort(line.PortName()), line.PortName());
    // A path that is no device is replaced like any unknown name.
    EXPECT_EQ(discovery.ValidatePort("/etc/hostname"), "ttyS0");
}

TEST(PortNumber, ReadsTheTrailingDigits) {
    EXPECT_EQ(CCableDiscovery::PortNumber("COM10"), 10);
    EXPECT_EQ(CCableDiscovery::PortNumber("ttyUSB3"), 3);
    EXPECT_EQ(CCableDiscovery::PortNumber("ttyACM"), -1);
}

}  // namespace
