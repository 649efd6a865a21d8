#include "ScriptDom.h"

#include <libxml/chvalid.h>
#include <libxml/xmlstring.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cstdint>
#include <cstring>

#include "CScriptNodeRegistry.h"
#include "ScriptLuaContext.h"
#include "XmlDom.h"

// Every function here runs under Lua's longjmp error handling. None holds an object with a
// destructor while it calls into Lua; memory that libxml2 hands out is parked in a "free box"
// userdata first, so the garbage collector frees it if a later push raises.

namespace {

constexpr const char* kNodeMeta = "qmvvlt.node";
constexpr const char* kFreeBoxMeta = "qmvvlt.freebox";

struct NodeHandle {
    xmlNode* node;
    std::uint64_t generation;
};

struct FreeBox {
    void* ptr;
    void (*release)(void*);
};

void FreeXmlChar(void* p) {
    xmlFree(p);
}
void FreeXmlBuffer(void* p) {
    xmlBufferFree(static_cast<xmlBuffer*>(p));
}
void FreeXPathContext(void* p) {
    xmlXPathFreeContext(static_cast<xmlXPathContext*>(p));
}
void FreeXPathObject(void* p) {
    xmlXPathFreeObject(static_cast<xmlXPathObject*>(p));
}

int FreeBoxGc(lua_State* L) {
    auto* box = static_cast<FreeBox*>(lua_touserdata(L, 1));
    if (box && box->ptr) {
        box->release(box->ptr);
        box->ptr = nullptr;
    }
    return 0;
}

FreeBox* PushFreeBox(lua_State* L, void (*release)(void*)) {
    auto* box = static_cast<FreeBox*>(lua_newuserdatauv(L, sizeof(FreeBox), 0));
    box->ptr = nullptr;
    box->release = release;
    luaL_setmetatable(L, kFreeBoxMeta);
    return box;
}

void EmptyFreeBox(FreeBox* box) {
    if (box->ptr) {
        box->release(box->ptr);
        box->ptr = nullptr;
    }
}

CScriptNodeRegistry& Registry(lua_State* L) {
    return *GetScriptContext(L)->nodes;
}

xmlNode* CheckNode(lua_State* L, int idx) {
    auto* handle = static_cast<NodeHandle*>(luaL_checkudata(L, idx, kNodeMeta));
    if (handle->generation != Registry(L).Generation()) {
        luaL_error(L, "node reference from an earlier call (nodes cannot be kept between calls)");
    }
    return handle->node;
}

xmlNode* CheckElement(lua_State* L, int idx) {
    xmlNode* node = CheckNode(L, idx);
    if (node->type != XML_ELEMENT_NODE) {
        luaL_error(L, "an element is expected, got the attribute '%s'",
                   reinterpret_cast<const char*>(node->name));
    }
    return node;
}

// Decodes one UTF-8 sequence strictly (no stray continuation bytes, overlong forms, surrogates or
// values past U+10FFFF); returns its length, or 0 when it is malformed.
size_t DecodeUtf8(const unsigned char* p, size_t length, unsigned* codePoint) {
    const unsigned lead = p[0];
    size_t size = 0;
    unsigned value = 0;
    unsigned minimum = 0;
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        size = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        size = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        size = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (length < size) {
        return 0;
    }
    for (size_t i = 1; i < size; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (p[i] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    *codePoint = value;
    return size;
}

// UTF-8 made only of characters XML 1.0 allows, so the document stays well-formed.
bool IsXmlText(const char* text, size_t length) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (length > 0) {
        unsigned c = 0;
        const size_t used = DecodeUtf8(p, length, &c);
        if (used == 0 || !xmlIsCharQ(c)) {
            return false;
        }
        p += used;
        length -= used;
    }
    return true;
}

// A name for an element or an attribute without a namespace prefix.
const char* CheckName(lua_State* L, int idx) {
    const char* name = luaL_checkstring(L, idx);
    size_t length = 0;
    lua_tolstring(L, idx, &length);
    if (length != std::strlen(name) || !IsXmlText(name, length) ||
        xmlValidateNCName(BAD_CAST name, 0) != 0) {
        luaL_error(L, "'%s' is not a valid XML name", name);
    }
    return name;
}

// Pushes the text form of the value at idx (booleans as "1"/"0", integral numbers without a
// fraction) and returns it; raises for other kinds and for text XML cannot hold.
const char* PushValueText(lua_State* L, int idx) {
    switch (lua_type(L, idx)) {
        case LUA_TBOOLEAN:
            lua_pushstring(L, lua_toboolean(L, idx) ? "1" : "0");
            break;
        case LUA_TNUMBER:
            if (lua_isinteger(L, idx)) {
                lua_pushfstring(L, "%I", static_cast<LUAI_UACINT>(lua_tointeger(L, idx)));
            } else {
                lua_Integer whole = 0;
                if (lua_numbertointeger(lua_tonumber(L, idx), &whole) &&
                    static_cast<lua_Number>(whole) == lua_tonumber(L, idx)) {
                    lua_pushfstring(L, "%I", static_cast<LUAI_UACINT>(whole));
                } else {
                    lua_pushfstring(L, "%f", lua_tonumber(L, idx));
                }
            }
            break;
        case LUA_TSTRING:
            lua_pushvalue(L, idx);
            break;
        default:
            luaL_error(L, "a text, number or boolean is expected, got %s", luaL_typename(L, idx));
    }
    size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    if (!IsXmlText(text, length)) {
        luaL_error(L, "the text is not valid UTF-8 or holds characters XML does not allow");
    }
    return text;
}

void PushXmlString(lua_State* L, xmlChar* text) {
    FreeBox* box = PushFreeBox(L, FreeXmlChar);
    box->ptr = text;
    lua_pushstring(L, text ? reinterpret_cast<const char*>(text) : "");
    EmptyFreeBox(box);
    lua_remove(L, -2);
}

bool IsElement(const xmlNode* node) {
    return node && node->type == XML_ELEMENT_NODE;
}

xmlNode* NextElement(xmlNode* node) {
    while (node && !IsElement(node)) {
        node = node->next;
    }
    return node;
}

xmlNode* PreviousElement(xmlNode* node) {
    while (node && !IsElement(node)) {
        node = node->prev;
    }
    return node;
}

// Moves node out of its tree into the registry; false when the registry cannot take it.
bool Detach(lua_State* L, xmlNode* node) {
    if (!Registry(L).Adopt(node)) {
        return false;
    }
    xmlUnlinkNode(node);
    return true;
}

// --- properties --------------------------------------------------------------------------

int NodeIndex(lua_State* L) {
    xmlNode* node = CheckNode(L, 1);
    // Methods first.
    lua_getmetatable(L, 1);
    lua_pushvalue(L, 2);
    if (lua_rawget(L, -2) != LUA_TNIL) {
        return 1;
    }
    lua_pop(L, 2);
    const char* key = luaL_checkstring(L, 2);
    const bool element = IsElement(node);
    if (std::strcmp(key, "nodeName") == 0) {
        lua_pushstring(L, reinterpret_cast<const char*>(node->name));
    } else if (std::strcmp(key, "nodeType") == 0) {
        lua_pushstring(L, element ? "element" : "attribute");
    } else if (std::strcmp(key, "parentNode") == 0) {
        PushScriptNode(L, IsElement(node->parent) ? node->parent : nullptr);
    } else if (std::strcmp(key, "firstChild") == 0) {
        PushScriptNode(L, element ? NextElement(node->children) : nullptr);
    } else if (std::strcmp(key, "lastChild") == 0) {
        PushScriptNode(L, element ? PreviousElement(node->last) : nullptr);
    } else if (std::strcmp(key, "nextSibling") == 0) {
        PushScriptNode(L, element ? NextElement(node->next) : nullptr);
    } else if (std::strcmp(key, "previousSibling") == 0) {
        PushScriptNode(L, element ? PreviousElement(node->prev) : nullptr);
    } else if (std::strcmp(key, "childCount") == 0) {
        lua_Integer count = 0;
        for (xmlNode* child = element ? node->children : nullptr; child; child = child->next) {
            count += IsElement(child) ? 1 : 0;
        }
        lua_pushinteger(L, count);
    } else if (std::strcmp(key, "text") == 0 || (!element && std::strcmp(key, "value") == 0)) {
        PushXmlString(L, xmlNodeGetContent(node));
    } else if (std::strcmp(key, "xml") == 0) {
        FreeBox* box = PushFreeBox(L, FreeXmlBuffer);
        auto* buffer = xmlBufferCreate();
        box->ptr = buffer;
        if (!buffer) {
            return luaL_error(L, "not enough memory");
        }
        xmlNodeDump(buffer, node->doc, node, 0, 0);
        lua_pushlstring(L, reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                        static_cast<size_t>(xmlBufferLength(buffer)));
        EmptyFreeBox(box);
        lua_remove(L, -2);
    } else {
        lua_pushnil(L);
    }
    return 1;
}

// Replaces the children of an element by one text node (the old children go to the registry,
// since scripts may still hold them).
void SetElementText(lua_State* L, xmlNode* node, const char* text) {
    xmlNode* textNode = xmlNewDocText(node->doc, BAD_CAST text);
    if (!textNode) {
        luaL_error(L, "not enough memory");
    }
    for (xmlNode* child = node->children; child;) {
        xmlNode* next = child->next;
        if (IsElement(child)) {
            if (!Detach(L, child)) {
                xmlFreeNode(textNode);
                luaL_error(L, "not enough memory");
            }
        } else {
            xmlUnlinkNode(child);  // text and comments: no script can hold them
            xmlFreeNode(child);
        }
        child = next;
    }
    xmlAddChild(node, textNode);
}

int NodeNewIndex(lua_State* L) {
    xmlNode* node = CheckNode(L, 1);
    const char* key = luaL_checkstring(L, 2);
    if (std::strcmp(key, "text") != 0 && std::strcmp(key, "value") != 0) {
        return luaL_error(L, "the property '%s' cannot be set", key);
    }
    const char* text = PushValueText(L, 3);
    if (IsElement(node)) {
        if (std::strcmp(key, "value") == 0) {
            return luaL_error(L, "an element has no value; set its text");
        }
        SetElementText(L, node, text);
    } else {
        if (!IsElement(node->parent)) {
            return luaL_error(L, "the attribute '%s' was removed from its element",
                              reinterpret_cast<const char*>(node->name));
        }
        if (!xmlSetNsProp(node->parent, reinterpret_cast<xmlAttr*>(node)->ns, node->name,
                          BAD_CAST text)) {
            return luaL_error(L, "not enough memory");
        }
    }
    return 0;
}

int NodeEq(lua_State* L) {
    lua_pushboolean(L, CheckNode(L, 1) == CheckNode(L, 2));
    return 1;
}

int NodeToString(lua_State* L) {
    auto* handle = static_cast<NodeHandle*>(luaL_checkudata(L, 1, kNodeMeta));
    if (handle->generation != Registry(L).Generation()) {
        lua_pushliteral(L, "node (expired)");
    } else {
        lua_pushfstring(L, "%s %s", IsElement(handle->node) ? "element" : "attribute",
                        reinterpret_cast<const char*>(handle->node->name));
    }
    return 1;
}

// --- attributes --------------------------------------------------------------------------

int GetAttributeFn(lua_State* L) {
    xmlNode* node = CheckElement(L, 1);
    const char* name = luaL_checkstring(L, 2);
    xmlAttr* attr = xmlHasNsProp(node, BAD_CAST name, nullptr);
    if (!attr) {
        lua_pushnil(L);
        return 1;
    }
    PushXmlString(L, xmlNodeGetContent(reinterpret_cast<xmlNode*>(attr)));
    return 1;
}

int HasAttributeFn(lua_State* L) {
    xmlNode* node = CheckElement(L, 1);
    const char* name = luaL_checkstring(L, 2);
    lua_pushboolean(L, xmlHasNsProp(node, BAD_CAST name, nullptr) != nullptr);
    return 1;
}

int GetAttributeNodeFn(lua_State* L) {
    xmlNode* node = CheckElement(L, 1);
    const char* name = luaL_checkstring(L, 2);
    PushScriptNode(L, reinterpret_cast<xmlNode*>(xmlHasNsProp(node, BAD_CAST name, nullptr)));
    return 1;
}

int SetAttributeFn(lua_State* L) {
    xmlNode* node = CheckElement(L, 1);
    const char* name = CheckName(L, 2);
    const char* value = PushValueText(L, 3);
    // An existing attribute node keeps its identity (scripts may hold it); only its text changes.
    if (!xmlSetNsProp(node, nullptr, BAD_CAST name, BAD_CAST value)) {
        return luaL_error(L, "not enough memory");
    }
    return 0;
}

int RemoveAttributeFn(lua_State* L) {
    xmlNode* node = CheckElement(L, 1);
    const char* name = luaL_checkstring(L, 2);
    xmlAttr* attr = xmlHasNsProp(node, BAD_CAST name, nullptr);
    if (attr && !Detach(L, reinterpret_cast<xmlNode*>(attr))) {
        return luaL_error(L, "not enough memory");
    }
    lua_pushboolean(L, attr != nullptr);
    return 1;
}

// --- children ----------------------------------------------------------------------------

int ChildNodesFn(lua_State* L) {
    xmlNode* node = CheckElement(L, 1);
    lua_newtable(L);
    lua_Integer index = 0;
    for (xmlNode* child = NextElement(node->children); child; child = NextElement(child->next)) {
        PushScriptNode(L, child);
        lua_rawseti(L, -2, ++index);
    }
    return 1;
}

int ChildByNameFn(lua_State* L) {
    xmlNode* node = CheckElement(L, 1);
    const char* name = luaL_checkstring(L, 2);
    xmlNode* child = NextElement(node->children);
    while (child && !xmlStrEqual(child->name, BAD_CAST name)) {
        child = NextElement(child->next);
    }
    PushScriptNode(L, child);
    return 1;
}

constexpr int kMaxDepth = 100;

// Levels of elements in the subtree of node (1 for a leaf), walked without recursion.
int SubtreeHeight(const xmlNode* node) {
    int height = 0;
    int level = 1;
    for (const xmlNode* n = node; n;) {
        height = level > height ? level : height;
        if (n->children && n->type == XML_ELEMENT_NODE) {
            n = n->children;
            ++level;
            continue;
        }
        while (n != node && !n->next) {
            n = n->parent;
            --level;
        }
        n = n == node ? nullptr : n->next;
    }
    return height;
}

// Checks that child may be linked under parent: an element of the same document that is neither
// the document element nor parent itself or one of its ancestors.
void CheckInsertable(lua_State* L, xmlNode* parent, xmlNode* child) {
    if (!IsElement(child)) {
        luaL_error(L, "only elements can be inserted");
    }
    if (child->doc != parent->doc) {
        luaL_error(L, "the node belongs to another document");
    }
    if (child->parent && !IsElement(child->parent)) {
        luaL_error(L, "the document element cannot be moved");
    }
    int depth = 0;
    for (xmlNode* up = parent; up; up = up->parent) {
        if (up == child) {
            luaL_error(L, "a node cannot be inserted into itself or its own descendant");
        }
        ++depth;
    }
    // Deep trees would strain every recursive reader (and the parser refuses them on reload).
    if (depth + SubtreeHeight(child) > kMaxDepth) {
        luaL_error(L, "the tree would be nested deeper than %d levels", kMaxDepth);
    }
}

// Points the elements and attributes of node's subtree that use `from` to `to`.
void RepointNamespace(xmlNode* node, const xmlNs* from, xmlNs* to) {
    for (xmlNode* n = node; n;) {
        if (n->type == XML_ELEMENT_NODE) {
            if (n->ns == from) {
                n->ns = to;
            }
            for (xmlAttr* a = n->properties; a; a = a->next) {
                if (a->ns == from) {
                    a->ns = to;
                }
            }
        }
        if (n->children && n->type == XML_ELEMENT_NODE) {
            n = n->children;
            continue;
        }
        while (n != node && !n->next) {
            n = n->parent;
        }
        n = n == node ? nullptr : n->next;
    }
}

// Drops the namespace declarations a copied node carries that its new ancestors already make,
// so an inserted copy serialises like its neighbours.
// True when an attribute of node's subtree lies in ns.
bool AttributeUses(const xmlNode* node, const xmlNs* ns) {
    for (const xmlNode* n = node; n;) {
        if (n->type == XML_ELEMENT_NODE) {
            for (const xmlAttr* a = n->properties; a; a = a->next) {
                if (a->ns == ns) {
                    return true;
                }
            }
        }
        if (n->children && n->type == XML_ELEMENT_NODE) {
            n = n->children;
            continue;
        }
        while (n != node && !n->next) {
            n = n->parent;
        }
        n = n == node ? nullptr : n->next;
    }
    return false;
}

void TidyNamespaces(xmlNode* node) {
    xmlNs** link = &node->nsDef;
    while (*link) {
        xmlNs* declaration = *link;
        // By URI: a copy of a detached node declares the namespace under a made-up prefix.
        xmlNs* inScope = xmlSearchNsByHref(node->doc, node->parent, declaration->href);
        // (A default namespace cannot hold attributes, so those keep their prefix.)
        if (inScope && (inScope->prefix || !AttributeUses(node, declaration))) {
            RepointNamespace(node, declaration, inScope);
            *link = declaration->next;
            declaration->next = nullptr;
            xmlFreeNs(declaration);
        } else {
            link = &declaration->next;
        }
    }
}

int AppendChildFn(lua_State* L) {
    xmlNode* parent = CheckElement(L, 1);
    xmlNode* child = CheckNode(L, 2);
    CheckInsertable(L, parent, child);
    xmlUnlinkNode(child);
    xmlAddChild(parent, child);  // elements are never merged, so child stays valid
    TidyNamespaces(child);
    lua_settop(L, 2);
    return 1;
}

int InsertBeforeFn(lua_State* L) {
    xmlNode* parent = CheckElement(L, 1);
    xmlNode* child = CheckNode(L, 2);
    if (lua_isnoneornil(L, 3)) {
        return AppendChildFn(L);
    }
    xmlNode* reference = CheckNode(L, 3);
    CheckInsertable(L, parent, child);
    if (reference->parent != parent || !IsElement(reference)) {
        return luaL_error(L, "the reference node is not a child of this element");
    }
    if (reference != child) {
        xmlUnlinkNode(child);
        xmlAddPrevSibling(reference, child);
        TidyNamespaces(child);
    }
    lua_settop(L, 2);
    return 1;
}

int RemoveChildFn(lua_State* L) {
    xmlNode* parent = CheckElement(L, 1);
    xmlNode* child = CheckNode(L, 2);
    if (child->parent != parent || !IsElement(child)) {
        return luaL_error(L, "the node is not a child of this element");
    }
    if (!Detach(L, child)) {
        return luaL_error(L, "not enough memory");
    }
    lua_settop(L, 2);
    return 1;
}

int CloneNodeFn(lua_State* L) {
    xmlNode* node = CheckElement(L, 1);
    const bool deep = lua_isnoneornil(L, 2) ? true : lua_toboolean(L, 2) != 0;
    xmlNode* copy = xmlDocCopyNode(node, node->doc, deep ? 1 : 2);
    if (!copy) {
        return luaL_error(L, "not enough memory");
    }
    if (!Registry(L).AdoptCreated(copy)) {
        xmlFreeNode(copy);
        return luaL_error(L, "not enough memory for another node (or too many nodes created)");
    }
    PushScriptNode(L, copy);
    return 1;
}

int CreateElementFn(lua_State* L) {
    xmlNode* node = CheckNode(L, 1);
    const char* name = CheckName(L, 2);
    xmlDoc* doc = node->doc;
    // xmlNewDocNode does not inherit a namespace: give the new element the profile namespace.
    xmlNs* ns = xmlSearchNsByHref(doc, xmlDocGetRootElement(doc), BAD_CAST kProfileNamespaceUri);
    xmlNode* element = xmlNewDocNode(doc, ns, BAD_CAST name, nullptr);
    if (!element) {
        return luaL_error(L, "not enough memory");
    }
    if (!ns) {
        ns = xmlNewNs(element, BAD_CAST kProfileNamespaceUri, nullptr);
        xmlSetNs(element, ns);
    }
    if (!ns || !Registry(L).AdoptCreated(element)) {
        xmlFreeNode(element);
        return luaL_error(L, "not enough memory for another node (or too many nodes created)");
    }
    PushScriptNode(L, element);
    return 1;
}

// --- XPath -------------------------------------------------------------------------------

void SilentXPathError(void*, xmlErrorPtr) {}

// Evaluates the expression of argument 2 from the node of argument 1 and leaves the result in a
// free box on the stack; raises when the expression is not a valid node-set expression. The
// caller frees it with ReleaseXPath once it has taken the nodes.
xmlNodeSet* EvaluateXPath(lua_State* L) {
    xmlNode* node = CheckNode(L, 1);
    const char* expr = luaL_checkstring(L, 2);
    lua_settop(L, 2);
    FreeBox* contextBox = PushFreeBox(L, FreeXPathContext);
    FreeBox* resultBox = PushFreeBox(L, FreeXPathObject);
    auto* context = xmlXPathNewContext(node->doc);
    contextBox->ptr = context;
    if (!context) {
        luaL_error(L, "not enough memory");
    }
    context->error = SilentXPathError;
    xmlXPathRegisterNs(context, BAD_CAST kProfilePrefix, BAD_CAST kProfileNamespaceUri);
    context->node = node;
    auto* result = xmlXPathEvalExpression(BAD_CAST expr, context);
    resultBox->ptr = result;
    if (!result || result->type != XPATH_NODESET) {
        luaL_error(L, "'%s' is not a valid node selection", expr);
    }
    return result->nodesetval;
}

// Frees the context and result of EvaluateXPath (the two boxes above the arguments) now: left to
// the collector, a node set could be freed after its document, whose nodes it still points to.
void ReleaseXPath(lua_State* L) {
    for (int index : {3, 4}) {
        EmptyFreeBox(static_cast<FreeBox*>(lua_touserdata(L, index)));
    }
}

// Nodes scripts may receive: elements and attributes (namespace nodes belong to the result).
bool IsSelectable(const xmlNode* node) {
    return node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE;
}

int SelectNodesFn(lua_State* L) {
    xmlNodeSet* set = EvaluateXPath(L);
    lua_newtable(L);
    lua_Integer index = 0;
    for (int i = 0; set && i < set->nodeNr; ++i) {
        if (IsSelectable(set->nodeTab[i])) {
            PushScriptNode(L, set->nodeTab[i]);
            lua_rawseti(L, -2, ++index);
        }
    }
    ReleaseXPath(L);
    return 1;
}

int SelectSingleNodeFn(lua_State* L) {
    xmlNodeSet* set = EvaluateXPath(L);
    xmlNode* found = nullptr;
    for (int i = 0; set && i < set->nodeNr && !found; ++i) {
        if (IsSelectable(set->nodeTab[i])) {
            found = set->nodeTab[i];
        }
    }
    ReleaseXPath(L);
    PushScriptNode(L, found);
    return 1;
}

const luaL_Reg kNodeMethods[] = {
    {"getAttribute", GetAttributeFn},
    {"setAttribute", SetAttributeFn},
    {"removeAttribute", RemoveAttributeFn},
    {"hasAttribute", HasAttributeFn},
    {"getAttributeNode", GetAttributeNodeFn},
    {"childNodes", ChildNodesFn},
    {"childByName", ChildByNameFn},
    {"appendChild", AppendChildFn},
    {"insertBefore", InsertBeforeFn},
    {"removeChild", RemoveChildFn},
    {"cloneNode", CloneNodeFn},
    {"createElement", CreateElementFn},
    {"selectNodes", SelectNodesFn},
    {"selectSingleNode", SelectSingleNodeFn},
    {"__index", NodeIndex},
    {"__newindex", NodeNewIndex},
    {"__eq", NodeEq},
    {"__tostring", NodeToString},
    {nullptr, nullptr},
};

}  // namespace

int OpenScriptDom(lua_State* L) {
    luaL_newmetatable(L, kNodeMeta);
    luaL_setfuncs(L, kNodeMethods, 0);
    lua_pushliteral(L, "node");
    lua_setfield(L, -2, "__name");
    lua_pushboolean(L, 0);
    lua_setfield(L, -2, "__metatable");  // scripts cannot reach or change the methods
    lua_pop(L, 1);
    luaL_newmetatable(L, kFreeBoxMeta);
    lua_pushcfunction(L, FreeBoxGc);
    lua_setfield(L, -2, "__gc");
    lua_pop(L, 1);
    return 0;
}

void PushScriptNode(lua_State* L, xmlNode* node) {
    if (!node) {
        lua_pushnil(L);
        return;
    }
    auto* handle = static_cast<NodeHandle*>(lua_newuserdatauv(L, sizeof(NodeHandle), 0));
    handle->node = node;
    handle->generation = Registry(L).Generation();
    luaL_setmetatable(L, kNodeMeta);
}

xmlNode* TestScriptNode(lua_State* L, int idx) {
    if (!luaL_testudata(L, idx, kNodeMeta)) {
        return nullptr;
    }
    return CheckNode(L, idx);
}
