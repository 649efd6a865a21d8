#pragma once

#include <chrono>
#include <string>

#include "IPortLister.h"

// The stored port choice, as the config store holds it.
struct PortSettings {
    int autoDetect = -1;  // "AutoDetect": non-zero finds the cable; -1 when it cannot be read
    std::string currentComPort;  // "CurrentComPort"; empty when missing
};

// Decides the port on which the programming cable is expected: the user's stored choice or the
// cable found among the USB serial converters, always checked against the ports that exist.
class CCableDiscovery {
  public:
    static constexpr const char* kCableDescription = "BR QMV CABLE";

    explicit CCableDiscovery(const IPortLister& lister,
                             std::chrono::milliseconds settle = std::chrono::milliseconds(100))
        : m_lister(lister), m_settle(settle) {}

    std::string GetCurrentPort(bool forceDetect, const PortSettings& settings) const;
    // name when it is a known port (or the path of a character device the list does not show,
    // such as a pseudo-terminal); else the lowest-numbered port; empty when there is none.
    std::string ValidatePort(const std::string& name) const;
    // The first port whose USB description is the cable's, ignoring case; empty when none.
    std::string FindCablePort() const;

    // The number a port name ends with ("COM10" and "ttyUSB10" give 10); -1 when none.
    static long long PortNumber(const std::string& name);
    // Whether port is a programming cable: its description, and a maker and serial number.
    static bool IsCable(const PortDescription& port);

  private:
    const IPortLister& m_lister;
    std::chrono::milliseconds m_settle;
};
