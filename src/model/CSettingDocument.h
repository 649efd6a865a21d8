#pragma once

#include <string>
#include <string_view>

#include "XmlDom.h"

// A loaded settings document (.stv) that the application owns and only reads.
class CSettingDocument {
  public:
    // Takes a document from LoadSettingDoc; a null one raises 222.
    explicit CSettingDocument(XmlDocPtr doc);

    xmlDoc* Document() const { return m_doc.get(); }
    // The whole document as UTF-8 XML text (for working copies built from it).
    std::string ToXmlText() const;

  protected:
    CXPath XPath() const { return CXPath(m_doc.get()); }

  private:
    XmlDocPtr m_doc;
};

// True when text can be put between the single quotes of an XPath literal.
bool IsXPathLiteralSafe(std::string_view text);
// True when text is usable as an element name step of a query (letters, digits, '_', '-', '.').
bool IsXmlNameSafe(std::string_view text);
