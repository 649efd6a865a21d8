#pragma once

#include <cstdint>
#include <vector>

// A codeplug as it travels on the wire: the settings block, the contact records and the texts in
// the order the radio keeps them, each in the radio's own encoding (the frame data after the
// reply letter, or after index and total for the lists).
struct CRadioBlocks {
    using Bytes = std::vector<std::uint8_t>;
    Bytes settings;
    std::vector<Bytes> contacts;
    std::vector<Bytes> texts;
};
