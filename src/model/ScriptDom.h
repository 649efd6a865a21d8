#pragma once

#include <libxml/tree.h>
#include <lua.hpp>

// DOM nodes in rule scripts: element and attribute nodes reach Lua as userdata.
//
// Properties: nodeName, nodeType ("element" or "attribute"), parentNode, firstChild, lastChild,
// nextSibling, previousSibling (element children only), childCount, text, xml, value (an
// attribute's value); text and value can be assigned.
// Methods: getAttribute, setAttribute, removeAttribute, hasAttribute, getAttributeNode,
// childNodes, childByName, appendChild, insertBefore, removeChild, cloneNode, createElement
// (in the profile namespace), selectNodes and selectSingleNode (XPath with the dfns prefix).
// Removed, created and cloned nodes belong to the engine's CScriptNodeRegistry until they are
// linked into a tree. Trees are kept at most 100 levels deep.

// Registers the node metatable. A lua_CFunction: run it with lua_pcall.
int OpenScriptDom(lua_State* L);

// Pushes a node reference valid for the current generation (nil for null). May raise.
void PushScriptNode(lua_State* L, xmlNode* node);

// The node of the reference at idx, or null when the value is not a node reference. A reference
// of an earlier generation raises. May raise.
xmlNode* TestScriptNode(lua_State* L, int idx);
