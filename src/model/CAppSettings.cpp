#include "CAppSettings.h"

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "ProfileValue.h"
#include "StringTable.h"

namespace {

bool HasElementChildren(const xmlNode* node) {
    return !ElementChildren(node).empty();
}

xmlNode* ChildControl(const xmlNode* view, unsigned id) {
    for (xmlNode* control : ElementChildren(view, "Control")) {
        if (ParseProfileNumber(GetAttribute(control, "ID").value_or("")) == id &&
            GetAttribute(control, "ID").has_value()) {
            return control;
        }
    }
    return nullptr;
}

// The view element of that name under base, made when it is not there yet.
xmlNode* ViewElement(xmlNode* base, const std::string& view) {
    for (xmlNode* c : ElementChildren(base, view)) {
        return c;
    }
    return xmlNewChild(base, base->ns, BAD_CAST view.c_str(), nullptr);
}

// The source and base of a merge: nothing to do (null source) when the source is missing or empty;
// a missing base is a broken settings document.
std::pair<xmlNode*, xmlNode*> MergePair(xmlDoc* doc, const std::string& source,
                                        const std::string& base, const char* context) {
    const CXPath xpath(doc);
    xmlNode* from = xpath.SelectFirst(source);
    if (!from || !from->children) {
        return {nullptr, nullptr};
    }
    xmlNode* to = xpath.SelectFirst(base);
    if (!to) {
        ThrowQMVVLT(MessageId::kNodesNotCorrect, context,
                    LoadString(MessageId::kNodesNotCorrect) + " (" + base + ")");
    }
    return {from, to};
}

void MoveToEnd(xmlNode* node, xmlNode* parent) {
    xmlUnlinkNode(node);
    xmlAddChild(parent, node);
}

}  // namespace

std::string ExpectedRegion(std::string_view applicationName) {
    std::string rest(applicationName);
    for (const std::string_view word : {"VLT", "QMV", " "}) {
        for (auto pos = rest.find(word); pos != std::string::npos; pos = rest.find(word)) {
            rest.erase(pos, word.size());
        }
    }
    if (rest.empty()) {
        return "QMV";
    }
    if (rest == "410") {
        return "LACR";
    }
    if (rest == "520") {
        return "FEMA";
    }
    return rest;
}

CAppSettings::CAppSettings(CHelpPaneSetting helpPane, CRegionSetting region,
                           CUpDownGradeSetting upDownGrade)
    : m_helpPane(std::move(helpPane)),
      m_region(std::move(region)),
      m_upDownGrade(std::move(upDownGrade)),
      m_regionName(m_region.RegionName()) {}

CAppSettings CAppSettings::Load() {
    return CAppSettings(CHelpPaneSetting::Load(), CRegionSetting::Load(),
                        CUpDownGradeSetting::Load());
}

CModelEnvironment CAppSettings::ModelEnvironment(const std::filesystem::path& installPath) const {
    return CModelEnvironment{installPath, &m_upDownGrade, m_regionName};
}

void CAppSettings::CodePlugMergeToBase(xmlDoc* doc, const std::string& source,
                                       const std::string& base) {
    constexpr const char* context = "CQMVVLTApp::CodePlugMergeToBase";
    const auto [from, to] = MergePair(doc, source, base, context);
    if (!from) {
        return;
    }
    for (xmlNode* field : ElementChildren(from, "CPField")) {
        const auto name = GetAttribute(field, "name");
        const auto isExist = GetAttribute(field, "isExist");
        if (!name || !isExist) {
            ThrowQMVVLT(MessageId::kNodesNotCorrect, context,
                        LoadString(MessageId::kNodesNotCorrect));
        }
        xmlNode* existing = nullptr;
        for (xmlNode* candidate : ElementChildren(to, "CPField")) {
            if (GetAttribute(candidate, "name") == name) {
                existing = candidate;
                break;
            }
        }
        if (existing) {
            SetAttribute(existing, "isExist", *isExist);
        } else {
            MoveToEnd(field, to);
        }
    }
}

void CAppSettings::VisibleMergeToBase(xmlDoc* doc, const std::string& source,
                                      const std::string& base) {
    const auto [from, to] = MergePair(doc, source, base, "CQMVVLTApp::VisibleMergeToBase");
    if (!from) {
        return;
    }
    for (xmlNode* view : ElementChildren(from)) {
        for (xmlNode* control : ElementChildren(view, "Control")) {
            const unsigned id = ParseProfileNumber(GetAttribute(control, "ID").value_or(""));
            const std::string visible = std::to_string(
                ParseProfileNumber(GetAttribute(control, "isVisible").value_or("0")));
            const std::string viewName(NodeName(view));
            xmlNode* target = ViewElement(to, viewName);
            if (xmlNode* existing = ChildControl(target, id)) {
                SetAttribute(existing, "isVisible", visible);
            } else {
                MoveToEnd(control, target);
            }
        }
    }
}

void CAppSettings::MergeCpToBase(xmlDoc* doc) {
    const CXPath xpath(doc);
    xmlNode* visible = xpath.SelectFirst("//dfns:VisibleSetting/dfns:G1/dfns:RegionCommon");
    xmlNode* fields = xpath.SelectFirst("//dfns:CodePlugSetting/dfns:G1/dfns:RegionCommon");
    if (!fields || !HasElementChildren(fields)) {
        return;
    }
    if (!visible) {
        ThrowQMVVLT(MessageId::kNodesNotCorrect, "CQMVVLTApp::MergeCpToBase",
                    LoadString(MessageId::kNodesNotCorrect));
    }
    for (xmlNode* control : xpath.SelectNodes("dfns:CPField[@isExist='1']/dfns:Control", fields)) {
        const unsigned id = ParseProfileNumber(GetAttribute(control, "ID").value_or(""));
        const std::string view = GetAttribute(control, "RightView").value_or("");
        if (view.empty()) {
            ThrowQMVVLT(MessageId::kNodesNotCorrect, "CQMVVLTApp::MergeCpToBase",
                        LoadString(MessageId::kNodesNotCorrect));
        }
        xmlNode* target = ViewElement(visible, view);
        if (ChildControl(target, id)) {
            ThrowQMVVLT(MessageId::kNodeInBothSettingParts, "CQMVVLTApp::MergeCpToBase",
                        LoadString(MessageId::kNodeInBothSettingParts) + " (" + view + "/" +
                            std::to_string(id) + ")");
        }
        if (xmlAttr* attr = xmlHasNsProp(control, BAD_CAST "RightView", nullptr)) {
            xmlRemoveProp(attr);
        }
        SetAttribute(control, "isVisible", "1");
        MoveToEnd(control, target);
    }
}

bool CAppSettings::BuildGroupSettings(int group, std::string* trace) {
    try {
        XmlDocPtr copy(xmlCopyDoc(m_upDownGrade.Document(), 1));
        if (!copy) {
            ThrowQMVVLT(MessageId::kFatalErrorReinstall, "CQMVVLTApp::BuildGroupSettings",
                        "create MSXML2::DOMDocument40 failed");
        }
        const std::string g = "G" + std::to_string(group);
        const std::string& r = m_regionName;
        for (const char* part : {"CodePlugSetting", "VisibleSetting"}) {
            const std::string root = std::string("//dfns:") + part + "/dfns:";
            const auto merge =
                std::string(part) == "CodePlugSetting" ? CodePlugMergeToBase : VisibleMergeToBase;
            merge(copy.get(), root + "G1/dfns:" + r, root + "G1/dfns:RegionCommon");
            if (group != 1) {
                merge(copy.get(), root + g + "/dfns:" + r, root + g + "/dfns:RegionCommon");
                merge(copy.get(), root + g + "/dfns:RegionCommon", root + "G1/dfns:RegionCommon");
            }
        }
        MergeCpToBase(copy.get());

        const xmlNode* merged =
            CXPath(copy.get()).SelectFirst("//dfns:VisibleSetting/dfns:G1/dfns:RegionCommon");
        XmlDocPtr working(xmlNewDoc(BAD_CAST "1.0"));
        if (merged) {
            xmlDocSetRootElement(working.get(),
                                 xmlDocCopyNode(const_cast<xmlNode*>(merged), working.get(), 1));
        }
        m_workingCopy = std::move(working);
        m_currentGroup = group;
        return true;
    } catch (const CQMVVLTException& e) {
        if (trace) {
            *trace = e.Trace();
        }
        return false;
    }
}

bool CAppSettings::SwitchToGroup(int group, std::string* trace) {
    if (group == m_currentGroup && m_workingCopy) {
        return true;
    }
    return BuildGroupSettings(group, trace);
}
