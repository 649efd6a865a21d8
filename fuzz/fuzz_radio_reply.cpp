// Feeds arbitrary reply bytes to the receive state machine, to every block decoder and to the
// comparison of a read-back.
#include <cstddef>
#include <cstdint>
#include <span>

#include "CBlockCodec.h"
#include "CReplyReceiver.h"
#include "CWriteVerify.h"
#include "RadioProtocol.h"
#include "RadioResult.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);

    CReplyReceiver receiver;
    for (std::uint8_t b : input) {
        const auto status = receiver.Feed(b);
        if (status != CReplyReceiver::Status::kMore) {
            if (receiver.DataLength() > CReplyReceiver::kMaxData) {
                __builtin_trap();
            }
            receiver.Reset();
        }
    }

    // A read-back, however garbled, compares without harm: equal to itself, and different from
    // the same blocks with a record more.
    const CRadioBlocks::Bytes bytes(input.begin(), input.end());
    const CRadioBlocks readBack{bytes, {bytes}, {bytes}};
    CRadioBlocks longer = readBack;
    longer.contacts.push_back(bytes);
    if (!CWriteVerify::Differences(readBack, readBack).empty() ||
        CWriteVerify::Differences(longer, readBack).empty()) {
        __builtin_trap();
    }

    CVirtualCodeplug image;
    CBlockCodec::DecodeVersion(input, image.version);
    CBlockCodec::DecodeLimits(input, image.limits);
    CBlockCodec::DecodeSettings(input, image.settings);
    CBlockCodec::DecodeContact(input, image.contacts[0]);
    CBlockCodec::DecodeText(input, image.texts[0]);
    CBlockCodec::DecodeCapturedPid(input);
    if (size > 0) {
        ClassifyReply(static_cast<int>(size), data[0], input.subspan(1));
    }
    // What was decoded encodes again without complaint.
    std::vector<std::uint8_t> block;
    if (CBlockCodec::EncodeContact(image.contacts[0], block) != kRadioSuccess ||
        CBlockCodec::EncodeSettings(image.settings, block) != kRadioSuccess ||
        CBlockCodec::EncodeLimits(image.limits, block) != kRadioSuccess) {
        __builtin_trap();  // radio bytes always convert back
    }
    return 0;
}
