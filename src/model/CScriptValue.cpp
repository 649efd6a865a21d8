#include "CScriptValue.h"

#include <strings.h>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

std::int64_t ParseInteger(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) {
        ++start;
    }
    std::int64_t value = 0;
    const char* first = text.data() + start;
    if (start < text.size() && text[start] == '+') {
        ++first;
    }
    std::from_chars(first, text.data() + text.size(), value);
    return value;
}

std::int64_t TruncateDouble(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // Out-of-range numbers saturate instead of invoking undefined behaviour.
    if (value >= 9.2233720368547758e18) {
        return INT64_MAX;
    }
    if (value <= -9.2233720368547758e18) {
        return INT64_MIN;
    }
    return static_cast<std::int64_t>(value);
}

}  // namespace

std::int32_t ScriptToInt32(const CScriptValue& value) {
    std::int64_t wide = 0;
    if (const auto* b = std::get_if<bool>(&value)) {
        wide = *b ? 1 : 0;
    } else if (const auto* i = std::get_if<std::int64_t>(&value)) {
        wide = *i;
    } else if (const auto* d = std::get_if<double>(&value)) {
        wide = TruncateDouble(*d);
    } else if (const auto* s = std::get_if<std::string>(&value)) {
        wide = ParseInteger(*s);
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

bool ScriptToBool(const CScriptValue& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b;
    }
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        return *i != 0;
    }
    if (const auto* d = std::get_if<double>(&value)) {
        return *d != 0.0 && !std::isnan(*d);
    }
    if (const auto* s = std::get_if<std::string>(&value)) {
        return strcasecmp(s->c_str(), "true") == 0 || ParseInteger(*s) != 0;
    }
    return ScriptToNode(value) != nullptr;
}

std::string ScriptToText(const CScriptValue& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b ? "1" : "0";
    }
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*i);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        char buffer[32];
        if (std::floor(*d) == *d && std::fabs(*d) < 9.0e15) {
            std::snprintf(buffer, sizeof buffer, "%.0f", *d);
        } else {
            std::snprintf(buffer, sizeof buffer, "%.17g", *d);
        }
        return buffer;
    }
    if (const auto* s = std::get_if<std::string>(&value)) {
        return *s;
    }
    if (const xmlNode* node = ScriptToNode(value)) {
        return std::string(reinterpret_cast<const char*>(node->name ? node->name : BAD_CAST ""));
    }
    return {};
}
