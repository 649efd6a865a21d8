#include "CDataItem.h"

#include "CQMVVLTException.h"
#include "CSchemaInfo.h"
#include "CScriptEngine.h"
#include "MessageId.h"
#include "XmlChildSort.h"

namespace {

constexpr int kCheckSeverityError = 1;

std::string NameOf(const xmlNode* node) {
    return std::string(NodeName(node));
}

bool IsElement(const xmlNode* node) {
    return node && node->type == XML_ELEMENT_NODE;
}

[[noreturn]] void ScriptFailed(const char* context, const std::string& detail) {
    ThrowQMVVLT(MessageId::kUnknownError, context, "Invoke script function failed\n" + detail);
}

// A SetVal or OnDelete rule hands its message id and style back by reference.
RuleResult RuleResultOf(const CScriptEngine::CallResult& call) {
    const auto byRef = [&](std::size_t i) {
        return i < call.byRef.size() ? static_cast<int>(call.byRef[i]) : 0;
    };
    return {ScriptToInt32(call.value), byRef(0), byRef(1)};
}

// A PID goes into a quoted XPath literal; anything but digits can match nothing anyway.
bool IsPidText(std::string_view pid) {
    for (char c : pid) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return !pid.empty();
}

}  // namespace

std::vector<xmlNode*> CDataItem::SelectInDocument(const std::string& query) const {
    if (!m_node) {
        return {};
    }
    return CXPath(m_node->doc).SelectNodes(query, m_node);
}

CDataItem CDataItem::GetChildByName(std::string_view name) const {
    for (xmlNode* c : ElementChildren(m_node)) {
        if (NodeName(c) == name) {
            return Derive(c);
        }
    }
    ThrowQMVVLT(MessageId::kProgrammingError107, "CDataItem::GetChildByName",
                "Name='" + std::string(name) + "'");
}

int CDataItem::GetChildCount() const {
    return static_cast<int>(ElementChildren(m_node).size());
}

CDataItem CDataItem::GetChildByIndex(int index) const {
    const auto children = ElementChildren(m_node);
    if (index < 0 || static_cast<std::size_t>(index) >= children.size()) {
        return Derive(nullptr);
    }
    return Derive(children[static_cast<std::size_t>(index)]);
}

CScriptValue CDataItem::GetAttributeValue(std::string_view name) const {
    const std::string attrName(name);
    const auto value = GetAttribute(m_node, attrName.c_str());
    if (!value) {
        ThrowQMVVLT(MessageId::kProgrammingError108, "CDataItem::GetAttributeValue",
                    "Name='" + attrName + "'");
    }
    const std::string type = m_schema ? m_schema->AttributeBaseType(NodeName(m_node), name) : "";
    if (type == "long") {
        return static_cast<std::int64_t>(ScriptToInt32(ScriptText(*value)));
    }
    if (type == "boolean") {
        return *value == "true" || *value == "1";
    }
    if (type == "unsignedLong") {
        return static_cast<std::int64_t>(
            static_cast<std::uint32_t>(ScriptToInt32(ScriptText(*value))));
    }
    return *value;
}

RuleResult CDataItem::SetAttributeValue(std::string_view name, const CScriptValue& value,
                                        int answer) {
    const std::string attrName(name);
    xmlAttr* attr = m_node ? xmlHasNsProp(m_node, BAD_CAST attrName.c_str(), nullptr) : nullptr;
    if (!attr) {
        ThrowQMVVLT(MessageId::kProgrammingError108, "CDataItem::SetAttributeValue",
                    "Name='" + attrName + "'");
    }
    const auto handler = GetScriptHandler(reinterpret_cast<xmlNode*>(attr), "SetVal");
    if (!handler || !m_engine) {
        const bool* flag = std::get_if<bool>(&value);
        SetAttribute(m_node, attrName.c_str(), flag ? (*flag ? "1" : "0") : ScriptToText(value));
        return {};
    }
    try {
        const auto result = m_engine->CallFunction(
            *handler, {ScriptNode(m_node), ScriptNode(attr), value, CScriptArgument::ByRef(0),
                       ScriptInteger(answer), CScriptArgument::ByRef(0)});
        return RuleResultOf(result);
    } catch (const CQMVVLTException&) {
        ScriptFailed("CDataItem::SetAttributeValue",
                     "function name=SetAttributeValue,Node=" + NameOf(m_node) +
                         " Attribute=" + attrName + " Value=" + ScriptToText(value));
    }
}

bool CDataItem::CanAddChild() const {
    const auto handler = GetScriptHandler(m_node, "CanAddChild");
    if (!handler || !m_engine) {
        return false;
    }
    try {
        return ScriptToBool(m_engine->CallFunction(*handler, {ScriptNode(m_node)}).value);
    } catch (const CQMVVLTException&) {
        ScriptFailed("CDataItem::CanAddChild", "function name=CanAddChild,Node=" + NameOf(m_node));
    }
}

std::optional<CDataItem> CDataItem::CallAddNew(const char* context,
                                               std::optional<std::string_view> text) {
    const auto handler = GetScriptHandler(m_node, "OnAddNew");
    if (!handler || !m_engine) {
        return std::nullopt;
    }
    try {
        std::vector<CScriptArgument> args = {ScriptNode(m_node)};
        if (text) {
            args.emplace_back(ScriptText(std::string(*text)));
        }
        xmlNode* added = ScriptToNode(m_engine->CallFunction(*handler, args).value);
        if (!added) {
            return std::nullopt;
        }
        return Derive(added);
    } catch (const CQMVVLTException&) {
        ScriptFailed(context, "function name=OnAddNew,Node=" + NameOf(m_node));
    }
}

std::optional<CDataItem> CDataItem::AddNewChild() {
    return CallAddNew("CDataItem::AddNewChild", std::nullopt);
}

std::optional<CDataItem> CDataItem::AddNewPriScrList(std::string_view text) {
    return CallAddNew("CDataItem::AddNewPriScrList", text);
}

std::optional<CDataItem> CDataItem::AddNewPriGrpPrivate(std::string_view text) {
    return CallAddNew("CDataItem::AddNewPriGrpPrivate", text);
}

RuleResult CDataItem::RemoveChildByIndex(int index, int answer) {
    xmlNode* child = GetChildByIndex(index).Node();
    if (!child) {
        ThrowQMVVLT(MessageId::kProgrammingError108, "CDataItem::RemoveChildByIndex",
                    "Index='" + std::to_string(index) + "'");
    }
    const auto handler = GetScriptHandler(child, "OnDelete");
    if (!handler || !m_engine) {
        xmlUnlinkNode(child);
        xmlFreeNode(child);
        return {};
    }
    try {
        const auto result =
            m_engine->CallFunction(*handler, {ScriptNode(child), CScriptArgument::ByRef(0),
                                              ScriptInteger(answer), CScriptArgument::ByRef(0)});
        return RuleResultOf(result);
    } catch (const CQMVVLTException&) {
        ScriptFailed("CDataItem::RemoveChildByIndex",
                     "function name=OnDelete,Node=" + NameOf(child));
    }
}

bool CDataItem::IsEnabled() const {
    const auto handler = GetScriptHandler(m_node, "IsEnabled");
    if (!handler || !m_engine) {
        return true;
    }
    try {
        return ScriptToBool(m_engine->CallFunction(*handler, {ScriptNode(m_node)}).value);
    } catch (const CQMVVLTException&) {
        ScriptFailed("CDataItem::IsEnabled", "function name=IsEnabled,Node=" + NameOf(m_node));
    }
}

int CDataItem::GetLabelSuffix() const {
    const auto handler = GetScriptHandler(m_node, "LabelSuffix");
    if (!handler || !m_engine) {
        return 0;
    }
    try {
        return ScriptToInt32(m_engine->CallFunction(*handler, {ScriptNode(m_node)}).value);
    } catch (const CQMVVLTException&) {
        ScriptFailed("CDataItem::GetLabelSuffix",
                     "function name=LabelSuffix,Node=" + NameOf(m_node));
    }
}

int CDataItem::CheckRules(bool& warningOnly) const {
    warningOnly = false;
    const auto handler = GetScriptHandler(m_node, "Check");
    if (!handler || !m_engine) {
        return 0;
    }
    try {
        const auto result = m_engine->CallFunction(
            *handler, {ScriptNode(m_node), CScriptArgument::ByRef(kCheckSeverityError)});
        warningOnly = result.byRef.at(0) != kCheckSeverityError;
        return ScriptToInt32(result.value);
    } catch (const CQMVVLTException&) {
        ScriptFailed("CDataItem::CheckRules", "function name=Check,Node=" + NameOf(m_node));
    }
}

int CDataItem::GetScrollListCount() const {
    return static_cast<int>(
        SelectInDocument("//dfns:*[@cntct_type and @in_scroll_list = 1]").size());
}

int CDataItem::GetScanListCount(int channel) const {
    return static_cast<int>(SelectInDocument("//dfns:PublicGroup[@channel = " +
                                             std::to_string(channel) + " and @in_scan_list = 1]")
                                .size());
}

std::string CDataItem::GetContactNameByID(std::string_view pid) const {
    if (pid.empty()) {
        return {};
    }
    const auto contact = GetContactByID(pid);
    if (!contact || contact->IsEmpty()) {
        ThrowQMVVLT(
            MessageId::kUnknownError, "CDataItem::GetContactNameByID",
            "ErrorMsg: no contact with PID " + std::string(pid) + "\nDesc: \nSource: profile");
    }
    return GetAttribute(contact->Node(), "name").value_or("");
}

std::optional<CDataItem> CDataItem::GetContactByID(std::string_view pid) const {
    if (pid.empty()) {
        return std::nullopt;
    }
    if (!IsPidText(pid)) {
        return Derive(nullptr);
    }
    const auto found =
        SelectInDocument("//dfns:*[@cntct_type and @pid='" + std::string(pid) + "']");
    return Derive(found.empty() ? nullptr : found.front());
}

void CDataItem::GetGroupMemeber(std::string_view groupPid, std::vector<std::string>& pids,
                                std::vector<std::string>& names) const {
    pids.clear();
    names.clear();
    if (!IsPidText(groupPid)) {
        return;
    }
    for (xmlNode* entry :
         SelectInDocument("//dfns:ParentPrivateGroup[@pid='" + std::string(groupPid) + "']")) {
        xmlNode* contact = entry->parent ? entry->parent->parent : nullptr;
        if (IsElement(contact)) {
            pids.push_back(GetAttribute(contact, "pid").value_or(""));
            names.push_back(GetAttribute(contact, "name").value_or(""));
        }
    }
}

std::optional<std::string> CDataItem::GetScriptHandler(const xmlNode* node,
                                                       std::string_view event) const {
    return m_schema ? m_schema->Handler(node, event) : std::nullopt;
}

void CDataItem::SortXMLChildNodes(std::string& text, const char* container, const char* key,
                                  bool ascending) {
    ::SortXMLChildNodes(text, container, key, ascending);
}

int CDataItem::ResortChild(int index, const char* key, bool keepLast) {
    return ::ResortChild(m_node, index, key, keepLast);
}
