// Arbitrary reply bytes decoded into the blocks of an image, as a read fills it from a radio, then
// made into a profile and loaded through the data model with the shipped schema, rules and
// settings. Whatever a radio of a supported model holds must load: any refusal is a fault.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "CBlockCodec.h"
#include "CProfileWriter.h"
#include "CQMVVLTException.h"
#include "CRadioDataModel.h"
#include "CUpDownGradeSetting.h"
#include "LoadSettingDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CUpDownGradeSetting settings(
        LoadSettingDocFile(std::string(QMVVLT_SOURCE_DATA_DIR) + "/lib/UpDownGradeSetting.stv"));
    static CRadioDataModel model(CModelEnvironment{QMVVLT_SOURCE_DATA_DIR, &settings, "LACR"});
    const std::span<const std::uint8_t> input(data, size);
    CVirtualCodeplug image;
    CBlockCodec::DecodeVersion(input, image.version);
    CBlockCodec::DecodeLimits(input, image.limits);
    CBlockCodec::DecodeSettings(input, image.settings);
    // Each contact record starts one byte further on, so the types 0, 1 and 2 turn up.
    for (std::size_t i = 0; i < 3 && i < size; ++i) {
        CBlockCodec::DecodeContact(input.subspan(i), image.contacts[i]);
    }
    CBlockCodec::DecodeText(input, image.texts[0]);
    image.limits.clone_compatibility_version = 10;  // other models are refused by design
    std::string text;
    CProfileWriter::VirtualCP2XML(image, text);
    try {
        model.LoadProfile(text, false);
    } catch (const CQMVVLTException&) {
        __builtin_trap();
    }
    return 0;
}
