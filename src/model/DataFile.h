#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// How every data file and profile is stored on disk.
//
// Text form: UTF-16 little-endian after the byte-order mark FF FE ("wide", narrow flag 0), or code
// page 1252 with one byte per character and no mark ("narrow", flag 1).
//
// Scrambling: every byte (narrow) or every UTF-16 code unit (wide) is XORed with kScrambleKey,
// except that a wide code unit equal to the key is left as it is. Applying it twice gives the
// text back (the only text it cannot restore is a NUL, which no data file holds), so the same
// operation scrambles and unscrambles. A file is taken as plain when its text begins with the
// marker of its kind, compared without regard to case: "<?xml" for XML documents, "--" for the
// Lua rule file. Saved profiles are always scrambled; plain ones are still accepted.
inline constexpr char16_t kScrambleKey = 0x5A;

inline constexpr std::u16string_view kXmlPlainMarker = u"<?xml";
inline constexpr std::u16string_view kRuleFilePlainMarker = u"--";

// A data file's text with its narrow flag.
struct DataFileText {
    std::u16string text;
    bool narrow = false;
};

// Reads a data file in either text form. A file that cannot be opened gives empty text with the
// flag 0; an error while reading raises 106 (context "Utility"). An odd last byte of a wide file
// is not a character and is dropped.
DataFileText ReadDataFile(const std::filesystem::path& path);

// The text of a data file's bytes (what ReadDataFile does once the file is read).
DataFileText DecodeDataFile(std::string_view bytes);

// True when text begins with marker, ignoring ASCII case.
bool BeginsWithMarker(std::u16string_view text, std::u16string_view marker);

// Scrambles or unscrambles text in place (its own inverse).
void Unscramble(std::u16string& text, bool narrow);

// Unscrambles text unless it begins with the plain-text marker.
void UnscrambleUnlessPlain(std::u16string& text, bool narrow,
                           std::u16string_view marker = kXmlPlainMarker);

// A profile or other XML data file as plain UTF-8 text, with the narrow flag of its file. The text
// is empty when the file cannot be opened or is empty; a read error raises 106.
struct ProfileText {
    std::string utf8;
    bool narrow = false;
};
ProfileText ReadProfileText(const std::filesystem::path& path);

// The bytes of a data file holding utf8: wide gives FF FE and UTF-16LE, narrow code page 1252;
// scrambled when scramble is set. A character code page 1252 lacks becomes '?' and clears
// *lossless (when given), so a caller can refuse a lossy narrow save.
std::string EncodeDataFile(std::string_view utf8, bool narrow, bool scramble,
                           bool* lossless = nullptr);
