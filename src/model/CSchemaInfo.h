#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "XmlDom.h"

// What the profile schema declares beyond validation: the rule handlers annotated on each element
// and attribute declaration (cvlt:SchemaExtension under xs:annotation/xs:appinfo, one attribute per
// event naming a script function) and the built-in type each attribute's type derives from.
class CSchemaInfo {
  public:
    CSchemaInfo() = default;
    // Reads the declarations of a schema document (which it does not keep).
    explicit CSchemaInfo(xmlDoc* schema);

    // The function handling event for an element node, or for an attribute node (an xmlAttr passed
    // as xmlNode*) of its element; nothing when the declaration has none.
    std::optional<std::string> Handler(const xmlNode* node, std::string_view event) const;

    // The built-in type ("long", "boolean", "unsignedLong", "string", ...) the declared type of an
    // attribute derives from; empty when the attribute is not declared.
    std::string AttributeBaseType(std::string_view element, std::string_view attribute) const;

  private:
    struct AttributeDecl {
        std::map<std::string, std::string, std::less<>> handlers;
        std::string baseType;
    };
    struct ElementDecl {
        std::map<std::string, std::string, std::less<>> handlers;
        std::map<std::string, AttributeDecl, std::less<>> attributes;
    };
    std::map<std::string, ElementDecl, std::less<>> m_elements;
};
