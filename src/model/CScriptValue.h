#pragma once

#include <libxml/tree.h>

#include <cstdint>
#include <string>
#include <variant>

// A value crossing between the program and the rule script: nothing, a boolean, an integer, a
// number, a text (UTF-8) or a DOM node (an element, or an attribute node cast to xmlNode*).
using CScriptValue =
    std::variant<std::monostate, bool, std::int64_t, double, std::string, xmlNode*>;

inline CScriptValue ScriptNode(xmlNode* node) {
    return CScriptValue(node);
}
inline CScriptValue ScriptNode(xmlAttr* attr) {
    return CScriptValue(reinterpret_cast<xmlNode*>(attr));
}
inline CScriptValue ScriptText(std::string text) {
    return CScriptValue(std::move(text));
}
inline CScriptValue ScriptInteger(std::int64_t value) {
    return CScriptValue(value);
}

// Conversions the callers apply to a function's result, in the spirit of the rule hooks: a
// result read as an integer keeps the low 32 bits; text is read as a decimal number (0 when it is
// none); true is 1.
std::int32_t ScriptToInt32(const CScriptValue& value);
// Truth value: nothing and false are false; numbers are true when not zero; a text is true when it
// is "true" (any case) or a non-zero number; a node is true.
bool ScriptToBool(const CScriptValue& value);
// Text form: integers in decimal, booleans "1"/"0", nothing as "".
std::string ScriptToText(const CScriptValue& value);
// The node the value holds, or null.
inline xmlNode* ScriptToNode(const CScriptValue& value) {
    const auto* node = std::get_if<xmlNode*>(&value);
    return node ? *node : nullptr;
}
