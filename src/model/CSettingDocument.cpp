#include "CSettingDocument.h"

#include "CQMVVLTException.h"
#include "LoadSettingDoc.h"
#include "MessageId.h"

CSettingDocument::CSettingDocument(XmlDocPtr doc) : m_doc(std::move(doc)) {
    if (!m_doc) {
        ThrowQMVVLT(MessageId::kFilesNotAvailable, "CSettingDocument", "no document");
    }
}

std::string CSettingDocument::ToXmlText() const {
    return DocumentToString(m_doc.get());
}

bool IsXPathLiteralSafe(std::string_view text) {
    return text.find('\'') == std::string_view::npos;
}

bool IsXmlNameSafe(std::string_view text) {
    if (text.empty() || (text.front() >= '0' && text.front() <= '9') || text.front() == '-' ||
        text.front() == '.') {
        return false;
    }
    for (char c : text) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
        if (!ok) {
            return false;
        }
    }
    return true;
}
