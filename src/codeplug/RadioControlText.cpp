#include "RadioControlText.h"

std::u16string PicturesToControls(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c > 0x2400 && c < 0x2420) {
            c = static_cast<char16_t>(c - 0x2400);
        }
    }
    return out;
}
