#pragma once

#include <string>
#include <vector>

#include "CRadioBlocks.h"

// Compares what a radio returns after a write with what the write sent, block by block in the
// radio's order and encoding. The radio's running clock is the one thing allowed to differ.
class CWriteVerify {
  public:
    // One line per difference, naming the block and the field with both values (string-table
    // texts); empty when the radio holds what was sent.
    static std::vector<std::string> Differences(const CRadioBlocks& sent,
                                                const CRadioBlocks& radio);
};
