// Arbitrary bytes as a data file: decoding, unscrambling and loading as a settings document either
// succeed or raise the program's exception; the queries on whatever loads never crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "CHelpPaneSetting.h"
#include "CQMVVLTException.h"
#include "CRegionSetting.h"
#include "CUpDownGradeSetting.h"
#include "DataFile.h"
#include "TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    DataFileText file = DecodeDataFile(bytes);
    UnscrambleUnlessPlain(file.text, file.narrow);
    const std::string utf8 = Utf16ToUtf8(file.text);
    // Scrambling is its own inverse for every text a data file can hold.
    std::u16string twice = file.text;
    Unscramble(twice, file.narrow);
    Unscramble(twice, file.narrow);
    if (file.text.find(u'\0') == std::u16string::npos && twice != file.text) {
        __builtin_trap();
    }
    XmlDocPtr doc = ParseXmlUtf8(utf8);
    if (!doc) {
        return 0;
    }
    try {
        const CUpDownGradeSetting settings(ParseXmlUtf8(utf8));
        settings.GetModelGroup("R5E.08.00");
        settings.GetModelGroup(std::string_view(utf8).substr(0, 12));
        settings.UpgradeVersion(3);
        settings.CodePlugEntries(3, "LACR", "15");
        settings.VisibleControls(1, "RegionCommon", "Settings");
        const CRegionSetting region(ParseXmlUtf8(utf8));
        region.RegionName();
        region.SupportLanguages();
        region.DisplayName("English");
        const CHelpPaneSetting help(std::move(doc));
        help.PageName("CPublicGroupView", "1053");
    } catch (const CQMVVLTException&) {
    }
    return 0;
}
