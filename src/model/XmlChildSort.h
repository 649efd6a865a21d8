#pragma once

#include <string>
#include <string_view>

#include "XmlDom.h"

// Sorts the children of container by the text of their key attribute in the contact-name collation.
// Equal keys keep their order. Blank text between the children is dropped.
void SortChildNodes(xmlNode* container, const char* key, bool ascending);

// Parses profile text, sorts the children of the first element named container below the document
// element, and serialises it back into text. Text that does not parse raises 105 and a missing
// container 106 (context "CDataItem::SortXMLChildNodes").
void SortXMLChildNodes(std::string& text, const char* container, const char* key, bool ascending);

// The profile's lists in their load-time order: texts by "txt", then privates, public groups and
// private groups by "name", all ascending. Missing lists raise 106.
void SortProfileLists(xmlDoc* doc);

// Moves the child at index to its place in ascending key order after its key changed and returns
// its new index. With keepLast the container's last child stays last. An equal key stops the scan
// only at or after the child's former place, so a child never jumps ahead of its equals.
int ResortChild(xmlNode* container, int index, const char* key, bool keepLast);
