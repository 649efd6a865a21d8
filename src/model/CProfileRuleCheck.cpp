#include "CProfileRuleCheck.h"

#include "MessageId.h"
#include "StringTable.h"
#include "XmlDom.h"

namespace {

// The tree's label of each list.
struct ListLabel {
    const char* element;
    int label;
};
constexpr ListLabel kLists[] = {
    {"PublicGroups", 112},
    {"PrivateGroups", 111},
    {"Privates", 110},
};

class CFindings {
  public:
    // Asks the item's Check rule; a broken rule becomes a finding about subject.
    void Check(const CDataItem& item, int format, const std::string& subject) {
        bool warningOnly = false;
        const int message = item.CheckRules(warningOnly);
        if (message == 0) {
            return;
        }
        std::string text = CStringTable::Instance().Format(format, {subject, LoadString(message)});
        if (warningOnly) {
            text = CStringTable::Instance().Format(MessageId::kWarning, {text});
        }
        m_findings.push_back({std::move(text), warningOnly});
    }
    void CheckList(const CDataItem& list, int label) {
        Check(list, MessageId::kListFinding, LoadString(label));
    }
    void CheckMembers(const CDataItem& list, int format, const char* key) {
        for (int i = 0, n = list.GetChildCount(); i < n; ++i) {
            const CDataItem member = list.GetChildByIndex(i);
            Check(member, format, GetAttribute(member.Node(), key).value_or(""));
        }
    }
    std::vector<CProfileRuleCheck::Finding> Take() { return std::move(m_findings); }

  private:
    std::vector<CProfileRuleCheck::Finding> m_findings;
};

}  // namespace

std::vector<CProfileRuleCheck::Finding> CProfileRuleCheck::Check(const CDataItem& root) {
    CFindings findings;
    const CDataItem contacts = root.GetChildByName("Contacts");
    const CDataItem texts = root.GetChildByName("TextMessages");
    findings.CheckList(contacts, MessageId::kContactsLabel);
    for (const ListLabel& list : kLists) {
        findings.CheckList(contacts.GetChildByName(list.element), list.label);
    }
    findings.CheckList(texts, MessageId::kTextMessages);
    for (const ListLabel& list : kLists) {
        findings.CheckMembers(contacts.GetChildByName(list.element), MessageId::kContactProblem,
                              "name");
    }
    findings.CheckMembers(texts, MessageId::kTextProblem, "txt");
    return findings.Take();
}
