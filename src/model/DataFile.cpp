#include "DataFile.h"

#include <fstream>

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "TextCodec.h"

namespace {

// The block size in which the wide form is read.
constexpr std::size_t kWideBlockBytes = 2046;

char16_t LowerAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

DataFileText DecodeDataFile(std::string_view bytes) {
    DataFileText result;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        result.text.reserve((bytes.size() - 2) / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            result.text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 (static_cast<unsigned char>(bytes[i + 1]) << 8));
        }
        result.narrow = false;
    } else {
        result.text = Cp1252ToUtf16(bytes);
        result.narrow = true;
    }
    return result;
}

DataFileText ReadDataFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::string bytes;
    char buffer[kWideBlockBytes];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad() || !in.eof()) {
        ThrowQMVVLT(MessageId::kUnknownError, "Utility", "");
    }
    return DecodeDataFile(bytes);
}

bool BeginsWithMarker(std::u16string_view text, std::u16string_view marker) {
    if (text.size() < marker.size()) {
        return false;
    }
    for (std::size_t i = 0; i < marker.size(); ++i) {
        if (LowerAscii(text[i]) != LowerAscii(marker[i])) {
            return false;
        }
    }
    return true;
}

void Unscramble(std::u16string& text, bool narrow) {
    if (narrow) {
        // The narrow form is scrambled byte by byte in its code page; the code page maps every
        // byte, so the round trip through it is exact.
        std::string bytes = Utf16ToCp1252(text);
        for (char& b : bytes) {
            b = static_cast<char>(static_cast<unsigned char>(b) ^ kScrambleKey);
        }
        text = Cp1252ToUtf16(bytes);
        return;
    }
    for (char16_t& unit : text) {
        if (unit != kScrambleKey) {
            unit = static_cast<char16_t>(unit ^ kScrambleKey);
        }
    }
}

void UnscrambleUnlessPlain(std::u16string& text, bool narrow, std::u16string_view marker) {
    if (!BeginsWithMarker(text, marker)) {
        Unscramble(text, narrow);
    }
}

ProfileText ReadProfileText(const std::filesystem::path& path) {
    DataFileText file = TraceExceptions("ReadProfileText", [&] { return ReadDataFile(path); });
    if (file.narrow && BeginsWithMarker(file.text, kXmlPlainMarker)) {
        // A plain single-byte file may be an exported or hand-written UTF-8 profile: its bytes
        // were decoded as cp1252 characters, which convert back to the same bytes.
        std::string bytes = Utf16ToCp1252(file.text);
        if (IsValidUtf8(bytes)) {
            return {std::move(bytes), true};
        }
    }
    UnscrambleUnlessPlain(file.text, file.narrow);
    return {Utf16ToUtf8(file.text), file.narrow};
}

std::string EncodeDataFile(std::string_view utf8, bool narrow, bool scramble, bool* lossless) {
    std::u16string text = Utf8ToUtf16(utf8);
    if (narrow) {
        std::string bytes = Utf16ToCp1252(text, lossless);
        if (scramble) {
            for (char& b : bytes) {
                b = static_cast<char>(static_cast<unsigned char>(b) ^ kScrambleKey);
            }
        }
        return bytes;
    }
    if (scramble) {
        Unscramble(text, false);
    }
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + text.size() * 2);
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}
