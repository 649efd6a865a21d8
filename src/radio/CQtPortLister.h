#pragma once

#include "IPortLister.h"

// The serial ports as Qt SerialPort lists them.
class CQtPortLister final : public IPortLister {
  public:
    std::vector<PortDescription> Ports() const override;
};
