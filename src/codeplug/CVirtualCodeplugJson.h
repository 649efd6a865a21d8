#pragma once

#include <optional>
#include <string>

#include "CVirtualCodeplug.h"

// The virtual codeplug as JSON: every field of every block under its own name, all contact records
// with their index, all texts, and the counters. Flag words appear both as words and as named bits;
// reading takes the words, so an image read back is exactly the image written.
class CVirtualCodeplugJson {
  public:
    static std::string ToJson(const CVirtualCodeplug& image);
    // Fields that are absent keep their defaults; a field of the wrong type or out of range, or
    // text that is not JSON, gives nothing and an explanation in *error.
    static std::optional<CVirtualCodeplug> FromJson(const std::string& json, std::string* error);
};
