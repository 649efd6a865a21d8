#pragma once

#include <cstdint>
#include <optional>

// How the virtual radio misbehaves. Counts of replies run from the first reply of the session;
// -1 means every reply.
struct CSimFaults {
    int noiseBytes = 0;           // bytes below 0xF0 inserted after the lead byte of each reply
    int wrongLeadReplies = 0;     // replies that start with 0x51 instead of 0x50
    int badChecksumReplies = 0;   // replies with a wrong checksum
    int silenceAfterFrames = -1;  // frames answered before the radio falls silent
    int hangupAfterFrames = -1;   // frames answered before the line is hung up
    // A transient silence: frames silentFromFrame (1-based) to silentFromFrame + silentFrames - 1
    // go unanswered, so a retried exchange in the middle of a transfer can be tried.
    int silentFromFrame = -1;
    int silentFrames = 0;
    // Every list read answers with record 1 of 255, however far the PC has come.
    bool stuckList = false;
    // The contact a write sends with this index (1-based) is kept with the last digit of its PID
    // changed, as a radio with a bad memory cell would; 0 for none.
    int corruptContact = 0;

    // A rejection in place of the normal reply, for one opcode or (opcode -1) for every one.
    enum class Reject { kNone, kQ, kS, kType8C };
    Reject reject = Reject::kNone;
    int rejectOpcode = -1;
    std::uint8_t rejectValue = 0;  // 'Q' reason, 'S' status or the first data byte of type 0x8C

    bool pace = false;  // 9600 baud timing on the line, both ways
};
