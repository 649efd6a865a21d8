#pragma once

#include <string>
#include <string_view>

// Radio text may hold C0 control bytes. XML 1.0 carries TAB, LF and CR (as character references)
// but none of the other controls, not even as references. In a profile those are written as their
// Control Pictures (U+2400 plus the code: 0x01 becomes U+2401), which keeps a radio's data
// loadable and its names distinct; on the way back to an image the pictures U+2401 to U+241F
// become the control bytes again, so a read radio is written back as it was.

// Whether XML cannot hold c in any form.
constexpr bool IsXmlForbiddenControl(char16_t c) {
    return c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r';
}

constexpr char16_t ControlToPicture(char16_t control) {
    return static_cast<char16_t>(0x2400 + control);
}

// The text with every picture U+2401 to U+241F turned back into its control character (U+2400,
// which would end the radio text, stays).
std::u16string PicturesToControls(std::u16string_view text);
