#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The namespace every profile element lies in, and the prefix queries bind to it.
inline constexpr const char* kProfileNamespaceUri = "urn:varentis:qmv-vlt:profile";
inline constexpr const char* kProfilePrefix = "dfns";
// The namespace of the schema's script-extension annotations.
inline constexpr const char* kScriptExtensionNamespaceUri = "urn:varentis:qmv-vlt:script-extension";

struct XmlDocDeleter {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct XPathContextDeleter {
    void operator()(xmlXPathContext* ctx) const { xmlXPathFreeContext(ctx); }
};
struct XPathObjectDeleter {
    void operator()(xmlXPathObject* obj) const { xmlXPathFreeObject(obj); }
};
struct XmlCharDeleter {
    void operator()(xmlChar* text) const { xmlFree(text); }
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocDeleter>;
using XPathContextPtr = std::unique_ptr<xmlXPathContext, XPathContextDeleter>;
using XPathObjectPtr = std::unique_ptr<xmlXPathObject, XPathObjectDeleter>;
using XmlCharPtr = std::unique_ptr<xmlChar, XmlCharDeleter>;

// Parses UTF-8 (or self-declared) XML text without network access, without loading or expanding
// external entities, and refusing any document with a DOCTYPE. On failure returns null and puts
// the parser's message into *error (when given).
XmlDocPtr ParseXmlSafely(std::string_view text, std::string* error = nullptr, int extraOptions = 0);

// Same, but the text is UTF-8 whatever its declaration says (it was converted from another form).
XmlDocPtr ParseXmlUtf8(std::string_view utf8, std::string* error = nullptr, int extraOptions = 0);

// Serialises a whole document (declaration included) as UTF-8.
std::string DocumentToString(xmlDoc* doc);

// XPath over one document with the prefix "dfns" bound to the profile namespace.
class CXPath {
  public:
    explicit CXPath(xmlDoc* doc);

    // All nodes the expression selects (in document order), relative to contextNode when given.
    // An expression that does not compile or does not give a node set selects nothing.
    std::vector<xmlNode*> SelectNodes(const std::string& expr,
                                      xmlNode* contextNode = nullptr) const;
    // The first of them, or null.
    xmlNode* SelectFirst(const std::string& expr, xmlNode* contextNode = nullptr) const;

  private:
    XPathContextPtr m_ctx;
};

// The value of an attribute (no namespace), or nothing when it is absent.
std::optional<std::string> GetAttribute(const xmlNode* node, const char* name);
// Sets (or adds) an attribute.
void SetAttribute(xmlNode* node, const char* name, std::string_view value);
// The element children of parent (those named name when given), in document order.
std::vector<xmlNode*> ElementChildren(const xmlNode* parent, std::string_view name = {});
// True for an element in the profile namespace (named name when given).
bool IsProfileElement(const xmlNode* node, std::string_view name = {});
// The element's local name as a string view.
inline std::string_view NodeName(const xmlNode* node) {
    return node && node->name ? std::string_view(reinterpret_cast<const char*>(node->name))
                              : std::string_view();
}
