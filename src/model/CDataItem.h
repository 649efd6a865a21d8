#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CScriptValue.h"
#include "XmlDom.h"

class CScriptEngine;
class CSchemaInfo;

// A rule's answer to a change: result 0 when the change was made, 1 when it was refused with
// messageId to show, 2 when it is a question (messageId asked with the buttons of style) whose
// answer goes back with the same change.
struct RuleResult {
    int result = 0;
    int messageId = 0;
    int style = 0;
    bool operator==(const RuleResult&) const = default;
};

// One profile node paired with the rule engine: the only way the views read and change a profile.
// Changes the rules govern are made by the rule file's functions that the schema names for the
// node's declaration; without such a declaration each operation has a plain default.
// Items are small values; the engine and schema belong to the data model and outlive them.
class CDataItem {
  public:
    CDataItem() = default;
    CDataItem(CScriptEngine* engine, const CSchemaInfo* schema, xmlNode* node)
        : m_engine(engine), m_schema(schema), m_node(node) {}

    xmlNode* Node() const { return m_node; }
    bool IsEmpty() const { return m_node == nullptr; }
    // An item of the same engine and schema for another node.
    CDataItem Derive(xmlNode* node) const { return CDataItem(m_engine, m_schema, node); }

    // The first child element of that name (107 "Name='%s'" when there is none).
    CDataItem GetChildByName(std::string_view name) const;
    int GetChildCount() const;
    // The child element at index; an empty item past the end.
    CDataItem GetChildByIndex(int index) const;

    // The attribute's value typed by its schema type: "long" as a 32-bit integer, "boolean" as a
    // boolean, "unsignedLong" as an unsigned 32-bit integer, anything else as text. A missing
    // attribute raises 108 "Name='%s'".
    CScriptValue GetAttributeValue(std::string_view name) const;
    // Asks the attribute's SetVal rule to store value, with the user's answer to the rule's
    // question when it asked one. Without a rule the value is stored as text (booleans as "1"/"0").
    RuleResult SetAttributeValue(std::string_view name, const CScriptValue& value, int answer = 0);

    bool CanAddChild() const;
    std::optional<CDataItem> AddNewChild();
    std::optional<CDataItem> AddNewPriScrList(std::string_view text);
    std::optional<CDataItem> AddNewPriGrpPrivate(std::string_view text);
    // Asks the child's OnDelete rule; without one removes the child. 108 "Index='%d'" when there is
    // no child at index.
    RuleResult RemoveChildByIndex(int index, int answer = 0);
    bool IsEnabled() const;
    // The string-table id of a note to show after the node's label in the tree (a list of a kind
    // the radio model does not support, shown for its members), or 0. The tree shows
    // " " + LoadString(id) after the label.
    int GetLabelSuffix() const;
    // The string-table id of the first rule the node breaks, or 0 (also without a Check rule).
    // warningOnly is set when the profile can still be written as it is.
    int CheckRules(bool& warningOnly) const;

    int GetScrollListCount() const;
    int GetScanListCount(int channel) const;
    // The name of the contact with this PID ("" for an empty PID; 106 when no contact has it).
    std::string GetContactNameByID(std::string_view pid) const;
    std::optional<CDataItem> GetContactByID(std::string_view pid) const;
    // The PIDs and names of the private contacts that belong to the group.
    void GetGroupMemeber(std::string_view groupPid, std::vector<std::string>& pids,
                         std::vector<std::string>& names) const;

    // The function the schema names for event on node, if any.
    std::optional<std::string> GetScriptHandler(const xmlNode* node, std::string_view event) const;

    // Sorts the children of container in profile text (see XmlChildSort.h).
    static void SortXMLChildNodes(std::string& text, const char* container, const char* key,
                                  bool ascending);
    // Moves this container's child at index to its sorted place; returns its new index.
    int ResortChild(int index, const char* key, bool keepLast);

  private:
    // Selects from the whole profile document.
    std::vector<xmlNode*> SelectInDocument(const std::string& query) const;
    std::optional<CDataItem> CallAddNew(const char* context, std::optional<std::string_view> text);

    CScriptEngine* m_engine = nullptr;
    const CSchemaInfo* m_schema = nullptr;
    xmlNode* m_node = nullptr;
};
