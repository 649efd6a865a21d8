#include "XmlChildSort.h"

#include <algorithm>
#include <vector>

#include "CQMVVLTException.h"
#include "Collation.h"
#include "MessageId.h"
#include "TextCodec.h"

namespace {

constexpr const char* kContext = "CDataItem::SortXMLChildNodes";

std::u16string KeyOf(const xmlNode* node, const char* key) {
    return Utf8ToUtf16(GetAttribute(node, key).value_or(""));
}

bool IsBlankText(const xmlNode* node) {
    return (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) &&
           xmlIsBlankNode(node);
}

// Comments and processing instructions in a list (hand-written XML) carry nothing the program
// reads; a sort drops them rather than gathering them at the top under an empty key.
bool IsDroppedInSort(const xmlNode* node) {
    return IsBlankText(node) || node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE;
}

xmlNode* FindContainer(xmlDoc* doc, const char* container) {
    const CXPath xpath(doc);
    return xpath.SelectFirst(std::string("/*//dfns:") + container);
}

}  // namespace

void SortChildNodes(xmlNode* container, const char* key, bool ascending) {
    struct Entry {
        std::u16string key;
        xmlNode* node;
    };
    std::vector<Entry> entries;
    for (xmlNode* child = container->children; child;) {
        xmlNode* next = child->next;
        xmlUnlinkNode(child);
        if (IsDroppedInSort(child)) {
            xmlFreeNode(child);
        } else {
            entries.push_back({KeyOf(child, key), child});
        }
        child = next;
    }
    std::stable_sort(entries.begin(), entries.end(), [ascending](const Entry& a, const Entry& b) {
        const int order = CompareContactNames(a.key, b.key);
        return ascending ? order < 0 : order > 0;
    });
    for (const Entry& e : entries) {
        xmlAddChild(container, e.node);
    }
}

void SortXMLChildNodes(std::string& text, const char* container, const char* key, bool ascending) {
    std::string error;
    XmlDocPtr doc = ParseXmlSafely(text, &error);
    if (!doc) {
        ThrowQMVVLT(MessageId::kInvalidProfile, kContext, error);
    }
    xmlNode* node = FindContainer(doc.get(), container);
    if (!node) {
        ThrowQMVVLT(MessageId::kUnknownError, kContext,
                    std::string("ErrorMsg: no element ") + container + "\nDesc: \nSource: libxml2");
    }
    SortChildNodes(node, key, ascending);
    text = DocumentToString(doc.get());
}

void SortProfileLists(xmlDoc* doc) {
    static const std::pair<const char*, const char*> lists[] = {
        {"TextMessages", "txt"},
        {"Privates", "name"},
        {"PublicGroups", "name"},
        {"PrivateGroups", "name"},
    };
    for (const auto& [container, key] : lists) {
        xmlNode* node = FindContainer(doc, container);
        if (!node) {
            ThrowQMVVLT(
                MessageId::kUnknownError, kContext,
                std::string("ErrorMsg: no element ") + container + "\nDesc: \nSource: libxml2");
        }
        SortChildNodes(node, key, true);
    }
}

int ResortChild(xmlNode* container, int index, const char* key, bool keepLast) {
    // Positions count elements only, as the item API does; other nodes stay where they are.
    std::vector<xmlNode*> children = ElementChildren(container);
    if (index < 0 || static_cast<std::size_t>(index) >= children.size()) {
        return index;
    }
    xmlNode* moving = children[static_cast<std::size_t>(index)];
    children.erase(children.begin() + index);
    xmlUnlinkNode(moving);
    std::size_t scan = children.size();
    xmlNode* before = nullptr;  // default: append
    if (keepLast && !children.empty()) {
        --scan;
        before = children.back();
    }
    const std::u16string movingKey = KeyOf(moving, key);
    int passed = 0;
    for (std::size_t i = 0; i < scan; ++i) {
        const int order = CompareContactNames(KeyOf(children[i], key), movingKey);
        if (order > 0 || (order == 0 && static_cast<int>(i) >= index)) {
            before = children[i];
            break;
        }
        ++passed;
    }
    if (before) {
        xmlAddPrevSibling(before, moving);
    } else {
        xmlAddChild(container, moving);
    }
    return passed;
}
