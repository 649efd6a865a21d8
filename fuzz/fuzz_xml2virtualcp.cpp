// Arbitrary bytes as profile text: the conversion either fills the image or raises the program's
// exception; it never crashes or writes past the image, and the pre-write check takes any image.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "CDataAdaptor.h"
#include "CQMVVLTException.h"
#include "CWriteCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CVirtualCodeplug image;
    try {
        CDataAdaptor::XML2VirtualCP(text, image, u"10000005");
        image.Count();
        CWriteCheck::Check(image);
    } catch (const CQMVVLTException&) {
    }
    return 0;
}
