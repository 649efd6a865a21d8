#pragma once

#include <string_view>

// The order of contact names and text messages: case and most accents ignored, through one weight
// per ISO-8859-1 code. Returns <0, 0 or >0 like strcmp (the first differing weights' difference).
int CompareContactNames(std::u16string_view a, std::u16string_view b);
// The same for UTF-8 text, as read from a profile.
int CompareContactNamesUtf8(std::string_view a, std::string_view b);
// Whether text contains part when both are compared as names are sorted: case and the accents the
// order folds ignored. An empty part is in every text.
bool ContainsContactText(std::u16string_view text, std::u16string_view part);
// The weight of one code unit.
int CollationWeight(char16_t c);
