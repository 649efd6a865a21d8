#pragma once

#include <string>
#include <string_view>

// Conversions between the program's text forms. Invalid UTF-8 sequences become U+FFFD; unpaired
// surrogates in UTF-16 become U+FFFD in UTF-8.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
// Appends the UTF-8 form of utf16 to out (no allocation when out has room).
void AppendUtf16AsUtf8(std::string& out, std::u16string_view utf16);

// True when every code unit is an ISO-8859-1 character (U+0000..U+00FF).
bool IsLatin1(std::u16string_view text);
