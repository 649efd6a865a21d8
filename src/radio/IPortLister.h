#pragma once

#include <string>
#include <vector>

// One serial port the system knows, with what its USB converter says about itself.
struct PortDescription {
    std::string name;      // e.g. "ttyUSB0"
    std::string location;  // e.g. "/dev/ttyUSB0"
    std::string description;
    std::string manufacturer;
    std::string serialNumber;
};

// The serial ports of the system, in the system's order.
class IPortLister {
  public:
    virtual ~IPortLister() = default;
    virtual std::vector<PortDescription> Ports() const = 0;
};
