#include "Collation.h"

#include <array>

#include "TextCodec.h"

namespace {

std::array<unsigned char, 256> BuildWeights() {
    std::array<unsigned char, 256> w{};
    w[0x20] = 1;
    for (int c = 'A'; c <= 'Z'; ++c) {
        w[static_cast<std::size_t>(c)] = static_cast<unsigned char>(2 + c - 'A');
        w[static_cast<std::size_t>(c - 'A' + 'a')] = static_cast<unsigned char>(2 + c - 'A');
    }
    // Accented letters that sort with their base letter.
    const struct {
        const char16_t* letters;
        char base;
    } folded[] = {
        {u"\u00c0\u00c1\u00c2\u00c3\u00c4\u00c5\u00e0\u00e1\u00e2\u00e3\u00e4\u00e5", 'A'},
        {u"\u00c7\u00e7", 'C'},
        {u"\u00c8\u00c9\u00ca\u00e8\u00e9\u00ea", 'E'},
        {u"\u00cd\u00ed", 'I'},
        {u"\u00d1\u00f1", 'N'},
        {u"\u00d2\u00d3\u00d4\u00d5\u00d6\u00d8\u00f2\u00f3\u00f4\u00f5\u00f6\u00f8", 'O'},
        {u"\u00d9\u00da\u00db\u00dc\u00f9\u00fa\u00fb\u00fc", 'U'},
    };
    for (const auto& f : folded) {
        for (const char16_t* p = f.letters; *p; ++p) {
            w[*p] = w[static_cast<std::size_t>(f.base)];
        }
    }
    unsigned char next = 28;
    for (int c = 0x01; c <= 0x1F; ++c) {
        w[static_cast<std::size_t>(c)] = next++;
    }
    for (int c = '0'; c <= '9'; ++c) {
        w[static_cast<std::size_t>(c)] = next++;
    }
    for (int c = 0x21; c <= 0x7F; ++c) {
        const bool letterOrDigit =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letterOrDigit) {
            w[static_cast<std::size_t>(c)] = next++;
        }
    }
    for (int c = 0x80; c <= 0xBF; ++c) {
        w[static_cast<std::size_t>(c)] = next++;
    }
    // The Latin-1 letters and signs that have no base letter, in code order.
    for (int c = 0xC0; c <= 0xFF; ++c) {
        if (w[static_cast<std::size_t>(c)] == 0) {
            w[static_cast<std::size_t>(c)] = next++;
        }
    }
    return w;
}

const std::array<unsigned char, 256> kWeights = BuildWeights();

}  // namespace

int CollationWeight(char16_t c) {
    // Beyond ISO-8859-1 there is no table entry: such characters sort last, by code.
    return c < 256 ? kWeights[c] : 186 + (c - 256);
}

int CompareContactNames(std::u16string_view a, std::u16string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int diff = CollationWeight(a[i]) - CollationWeight(b[i]);
        if (diff != 0) {
            return diff;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() > b.size() ? CollationWeight(a[n]) : -CollationWeight(b[n]);
}

int CompareContactNamesUtf8(std::string_view a, std::string_view b) {
    return CompareContactNames(Utf8ToUtf16(a), Utf8ToUtf16(b));
}

bool ContainsContactText(std::u16string_view text, std::u16string_view part) {
    if (part.size() > text.size()) {
        return false;
    }
    for (std::size_t start = 0; start + part.size() <= text.size(); ++start) {
        std::size_t i = 0;
        while (i < part.size() && CollationWeight(text[start + i]) == CollationWeight(part[i])) {
            ++i;
        }
        if (i == part.size()) {
            return true;
        }
    }
    return false;
}
