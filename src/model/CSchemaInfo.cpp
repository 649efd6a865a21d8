#include "CSchemaInfo.h"

#include <functional>
#include <set>

namespace {

constexpr const char* kXsd = "http://www.w3.org/2001/XMLSchema";

bool IsXsd(const xmlNode* node, std::string_view name) {
    return node && node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
           std::string_view(reinterpret_cast<const char*>(node->ns->href)) == kXsd &&
           NodeName(node) == name;
}

std::string LocalName(std::string_view qname) {
    const auto colon = qname.find(':');
    return std::string(colon == std::string_view::npos ? qname : qname.substr(colon + 1));
}

// True when a QName refers to the XML Schema namespace (a built-in type).
bool IsBuiltin(const xmlNode* context, std::string_view qname) {
    const auto colon = qname.find(':');
    const std::string prefix(colon == std::string_view::npos ? "" : qname.substr(0, colon));
    xmlNs* ns = xmlSearchNs(context->doc, const_cast<xmlNode*>(context),
                            prefix.empty() ? nullptr : BAD_CAST prefix.c_str());
    return ns && ns->href && std::string_view(reinterpret_cast<const char*>(ns->href)) == kXsd;
}

template <class F>
void ForEachChild(const xmlNode* node, F&& f) {
    for (const xmlNode* c = node ? node->children : nullptr; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE) {
            f(c);
        }
    }
}

std::map<std::string, std::string, std::less<>> Handlers(const xmlNode* decl) {
    std::map<std::string, std::string, std::less<>> handlers;
    ForEachChild(decl, [&](const xmlNode* annotation) {
        if (!IsXsd(annotation, "annotation")) {
            return;
        }
        ForEachChild(annotation, [&](const xmlNode* appinfo) {
            if (!IsXsd(appinfo, "appinfo")) {
                return;
            }
            ForEachChild(appinfo, [&](const xmlNode* ext) {
                const bool isExtension =
                    ext->ns && ext->ns->href &&
                    std::string_view(reinterpret_cast<const char*>(ext->ns->href)) ==
                        kScriptExtensionNamespaceUri &&
                    NodeName(ext) == "SchemaExtension";
                if (!isExtension) {
                    return;
                }
                for (const xmlAttr* a = ext->properties; a; a = a->next) {
                    const char* name = reinterpret_cast<const char*>(a->name);
                    handlers.emplace(name, GetAttribute(ext, name).value_or(""));
                }
            });
        });
    });
    return handlers;
}

struct SchemaIndex {
    std::map<std::string, const xmlNode*> complexTypes, simpleTypes, attributeGroups, elements;
};

void Index(const xmlNode* node, SchemaIndex& index) {
    ForEachChild(node, [&](const xmlNode* c) {
        const auto name = GetAttribute(c, "name");
        if (name && IsXsd(c, "complexType")) {
            index.complexTypes.emplace(*name, c);
        } else if (name && IsXsd(c, "simpleType")) {
            index.simpleTypes.emplace(*name, c);
        } else if (name && IsXsd(c, "attributeGroup")) {
            index.attributeGroups.emplace(*name, c);
        } else if (name && IsXsd(c, "element") && node->parent &&
                   node->parent->type == XML_DOCUMENT_NODE) {
            index.elements.emplace(*name, c);  // global elements, for ref=
        }
    });
}

// The built-in type a simple type (by QName, or the inline one under node) comes from.
std::string BaseTypeOf(const SchemaIndex& index, const xmlNode* node) {
    std::set<const xmlNode*> seen;
    const xmlNode* current = node;
    for (int depth = 0; depth < 32 && current; ++depth) {
        if (auto type = GetAttribute(current, "type")) {
            if (IsBuiltin(current, *type)) {
                return LocalName(*type);
            }
            auto it = index.simpleTypes.find(LocalName(*type));
            current = it == index.simpleTypes.end() ? nullptr : it->second;
            continue;
        }
        if (auto base = GetAttribute(current, "base")) {
            if (IsBuiltin(current, *base)) {
                return LocalName(*base);
            }
            auto it = index.simpleTypes.find(LocalName(*base));
            current = it == index.simpleTypes.end() ? nullptr : it->second;
            continue;
        }
        // An inline simpleType or a restriction below this node.
        const xmlNode* next = nullptr;
        ForEachChild(current, [&](const xmlNode* c) {
            if (!next && (IsXsd(c, "simpleType") || IsXsd(c, "restriction"))) {
                next = c;
            }
        });
        if (!next || !seen.insert(next).second) {
            break;
        }
        current = next;
    }
    return "anySimpleType";
}

}  // namespace

CSchemaInfo::CSchemaInfo(xmlDoc* schema) {
    const xmlNode* root = xmlDocGetRootElement(schema);
    if (!root) {
        return;
    }
    SchemaIndex index;
    Index(root, index);

    // Attributes of a complex type, through attribute groups and extensions.
    std::function<void(const xmlNode*, ElementDecl&, int)> collect =
        [&](const xmlNode* node, ElementDecl& decl, int depth) {
            if (!node || depth > 16) {
                return;
            }
            ForEachChild(node, [&](const xmlNode* c) {
                if (IsXsd(c, "attribute")) {
                    auto name = GetAttribute(c, "name");
                    if (!name) {
                        return;
                    }
                    AttributeDecl attr{Handlers(c), BaseTypeOf(index, c)};
                    decl.attributes.emplace(*name, std::move(attr));
                } else if (IsXsd(c, "attributeGroup")) {
                    if (auto ref = GetAttribute(c, "ref")) {
                        auto it = index.attributeGroups.find(LocalName(*ref));
                        if (it != index.attributeGroups.end()) {
                            collect(it->second, decl, depth + 1);
                        }
                    }
                } else if (IsXsd(c, "extension") || IsXsd(c, "restriction")) {
                    if (auto base = GetAttribute(c, "base")) {
                        auto it = index.complexTypes.find(LocalName(*base));
                        if (it != index.complexTypes.end()) {
                            collect(it->second, decl, depth + 1);
                        }
                    }
                    collect(c, decl, depth + 1);
                } else if (IsXsd(c, "complexContent") || IsXsd(c, "simpleContent")) {
                    collect(c, decl, depth + 1);
                }
            });
        };

    // Every element declaration, wherever it stands; the first of a name wins.
    std::function<void(const xmlNode*, int)> walk = [&](const xmlNode* node, int depth) {
        if (depth > 64) {
            return;
        }
        ForEachChild(node, [&](const xmlNode* c) {
            if (IsXsd(c, "element")) {
                auto name = GetAttribute(c, "name");
                if (name && !m_elements.count(*name)) {
                    ElementDecl decl;
                    decl.handlers = Handlers(c);
                    const xmlNode* type = nullptr;
                    if (auto typeName = GetAttribute(c, "type")) {
                        auto it = index.complexTypes.find(LocalName(*typeName));
                        type = it == index.complexTypes.end() ? nullptr : it->second;
                    }
                    ForEachChild(c, [&](const xmlNode* t) {
                        if (IsXsd(t, "complexType")) {
                            type = t;
                        }
                    });
                    collect(type, decl, 0);
                    m_elements.emplace(*name, std::move(decl));
                }
            }
            walk(c, depth + 1);
        });
    };
    walk(root, 0);
}

std::optional<std::string> CSchemaInfo::Handler(const xmlNode* node, std::string_view event) const {
    if (!node) {
        return std::nullopt;
    }
    if (node->type == XML_ATTRIBUTE_NODE) {
        const auto element = m_elements.find(NodeName(node->parent));
        if (element == m_elements.end()) {
            return std::nullopt;
        }
        const auto attr = element->second.attributes.find(NodeName(node));
        if (attr == element->second.attributes.end()) {
            return std::nullopt;
        }
        const auto h = attr->second.handlers.find(event);
        return h == attr->second.handlers.end() || h->second.empty() ? std::nullopt
                                                                     : std::optional(h->second);
    }
    const auto element = m_elements.find(NodeName(node));
    if (element == m_elements.end()) {
        return std::nullopt;
    }
    const auto h = element->second.handlers.find(event);
    return h == element->second.handlers.end() || h->second.empty() ? std::nullopt
                                                                    : std::optional(h->second);
}

std::string CSchemaInfo::AttributeBaseType(std::string_view element,
                                           std::string_view attribute) const {
    const auto e = m_elements.find(element);
    if (e == m_elements.end()) {
        return {};
    }
    const auto a = e->second.attributes.find(attribute);
    return a == e->second.attributes.end() ? std::string() : a->second.baseType;
}
