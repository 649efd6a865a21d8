#pragma once

#include <string>
#include <string_view>

#include "CVirtualCodeplug.h"

// Turns a virtual codeplug into the text of a complete profile document (UTF-8). The text is built
// by formatting, so its exact form is fixed here; it is only ever parsed as XML.
class CProfileWriter {
  public:
    // Replaces out with the profile text of image. Returns 1.
    static int VirtualCP2XML(const CVirtualCodeplug& image, std::string& out);
};

// Appends text (UTF-16) as UTF-8 with &, <, > and " escaped for an attribute value; TAB, LF and
// CR as character references, so they read back as themselves; the other C0 controls, which XML
// cannot hold at all, as their Control Pictures (U+2401 to U+241F, see ControlToPicture).
// Apostrophes stay as they are.
void AppendEscapedAttribute(std::string& out, std::u16string_view text);
// The escaped form as a string.
std::string EscapeAttribute(std::u16string_view text);
