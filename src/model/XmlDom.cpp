#include "XmlDom.h"

#include <libxml/xpathInternals.h>

#include <mutex>

namespace {

xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

void InstallSafeDefaults() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternalEntity);
    });
}

// Set by the SAX hook when the document carries a DOCTYPE: entity tricks never get a chance.
void RefuseDoctype(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* parser = static_cast<xmlParserCtxtPtr>(ctx);
    parser->_private = parser;  // marks the refusal
    xmlStopParser(parser);
}

struct ParserCtxtDeleter {
    void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

XmlDocPtr Parse(std::string_view text, const char* encoding, std::string* error, int extraOptions) {
    InstallSafeDefaults();
    if (text.size() > static_cast<std::size_t>(INT32_MAX)) {
        if (error) {
            *error = "document too large";
        }
        return nullptr;
    }
    std::unique_ptr<xmlParserCtxt, ParserCtxtDeleter> ctxt(xmlNewParserCtxt());
    if (!ctxt) {
        if (error) {
            *error = "out of memory";
        }
        return nullptr;
    }
    ctxt->sax->internalSubset = RefuseDoctype;
    ctxt->_private = nullptr;
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | extraOptions;
    XmlDocPtr doc(xmlCtxtReadMemory(ctxt.get(), text.data(), static_cast<int>(text.size()),
                                    "profile.xml", encoding, options));
    const bool refused = ctxt->_private != nullptr;
    if (doc && ctxt->wellFormed && !refused) {
        return doc;
    }
    if (error) {
        if (refused) {
            *error = "documents with a DOCTYPE are not accepted";
        } else if (const xmlError* last = xmlCtxtGetLastError(ctxt.get()); last && last->message) {
            *error = last->message;
            while (!error->empty() && (error->back() == '\n' || error->back() == '\r')) {
                error->pop_back();
            }
            *error += " (line " + std::to_string(last->line) + ")";
        } else {
            *error = "not well-formed";
        }
    }
    return nullptr;
}

}  // namespace

XmlDocPtr ParseXmlSafely(std::string_view text, std::string* error, int extraOptions) {
    return Parse(text, nullptr, error, extraOptions);
}

XmlDocPtr ParseXmlUtf8(std::string_view utf8, std::string* error, int extraOptions) {
    return Parse(utf8, "UTF-8", error, extraOptions);
}

std::string DocumentToString(xmlDoc* doc) {
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc, &mem, &size, "UTF-8");
    XmlCharPtr holder(mem);
    return mem ? std::string(reinterpret_cast<const char*>(mem), static_cast<std::size_t>(size))
               : std::string();
}

CXPath::CXPath(xmlDoc* doc) : m_ctx(xmlXPathNewContext(doc)) {
    if (m_ctx) {
        xmlXPathRegisterNs(m_ctx.get(), BAD_CAST kProfilePrefix, BAD_CAST kProfileNamespaceUri);
    }
}

std::vector<xmlNode*> CXPath::SelectNodes(const std::string& expr, xmlNode* contextNode) const {
    std::vector<xmlNode*> nodes;
    if (!m_ctx) {
        return nodes;
    }
    m_ctx->node = contextNode ? contextNode : reinterpret_cast<xmlNode*>(m_ctx->doc);
    XPathObjectPtr result(xmlXPathEvalExpression(BAD_CAST expr.c_str(), m_ctx.get()));
    if (result && result->type == XPATH_NODESET && result->nodesetval) {
        const xmlNodeSet* set = result->nodesetval;
        nodes.reserve(static_cast<std::size_t>(set->nodeNr));
        for (int i = 0; i < set->nodeNr; ++i) {
            nodes.push_back(set->nodeTab[i]);
        }
    }
    return nodes;
}

xmlNode* CXPath::SelectFirst(const std::string& expr, xmlNode* contextNode) const {
    auto nodes = SelectNodes(expr, contextNode);
    return nodes.empty() ? nullptr : nodes.front();
}

std::optional<std::string> GetAttribute(const xmlNode* node, const char* name) {
    if (!node || node->type != XML_ELEMENT_NODE) {
        return std::nullopt;
    }
    xmlAttr* attr = xmlHasNsProp(node, BAD_CAST name, nullptr);
    if (!attr) {
        return std::nullopt;
    }
    XmlCharPtr value(xmlNodeGetContent(reinterpret_cast<xmlNode*>(attr)));
    return value ? std::string(reinterpret_cast<const char*>(value.get())) : std::string();
}

void SetAttribute(xmlNode* node, const char* name, std::string_view value) {
    const std::string copy(value);
    xmlSetProp(node, BAD_CAST name, BAD_CAST copy.c_str());
}

std::vector<xmlNode*> ElementChildren(const xmlNode* parent, std::string_view name) {
    std::vector<xmlNode*> children;
    for (xmlNode* c = parent ? parent->children : nullptr; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && (name.empty() || NodeName(c) == name)) {
            children.push_back(c);
        }
    }
    return children;
}

bool IsProfileElement(const xmlNode* node, std::string_view name) {
    return node && node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
           std::string_view(reinterpret_cast<const char*>(node->ns->href)) ==
               kProfileNamespaceUri &&
           (name.empty() || NodeName(node) == name);
}
