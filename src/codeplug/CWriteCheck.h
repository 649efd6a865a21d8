#pragma once

#include <string>
#include <vector>

#include "CVirtualCodeplug.h"

// What a converted profile holds that a radio cannot take as it is: characters above U+00FF,
// names and texts longer than the radio's fields (the radio would keep a cut copy), PIDs that are
// not 1 to 11 digits up to 2^34 - 1. Run before anything is sent, so that nothing reaches a radio
// cut or garbled.
class CWriteCheck {
  public:
    struct Problem {
        std::string text;           // the user's text: which contact, text or setting, and why
        bool notRadioText = false;  // a character the radio's character set lacks
    };

    // One problem per offending field, contacts in record order, then texts, then settings.
    static std::vector<Problem> Check(const CVirtualCodeplug& image);
};
