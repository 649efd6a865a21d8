#pragma once

#include <cstdint>
#include <vector>

// What the server asks of the radio on its line: one radio (CVirtualRadio), or one radio after
// another as an operator swaps them on the cable (CRadioSeries).
class ISimRadio {
  public:
    virtual ~ISimRadio() = default;
    // The reply frame for one request; empty when nothing answers.
    virtual std::vector<std::uint8_t> Handle(std::uint8_t opcode,
                                             const std::vector<std::uint8_t>& data) = 0;
    // True once the line has been hung up.
    virtual bool HungUp() const = 0;
    // How long FinishWrite takes before its reply.
    virtual int FinishDelayMs() const = 0;
};
