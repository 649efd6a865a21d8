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

// True when bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Windows code page 1252, one character per byte. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so every byte has a
// character and Cp1252ToUtf16(Utf16ToCp1252(x)) gives x back for any byte string.
std::u16string Cp1252ToUtf16(std::string_view bytes);
// The inverse. A character the code page cannot hold becomes '?' and clears *lossless (when given;
// it is left alone otherwise).
std::string Utf16ToCp1252(std::u16string_view text, bool* lossless = nullptr);
// Shorthands over UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);
std::string Utf8ToCp1252(std::string_view utf8, bool* lossless = nullptr);
