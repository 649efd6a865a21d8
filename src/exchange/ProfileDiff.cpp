#include "ProfileDiff.h"

#include <algorithm>
#include <functional>
#include <map>

#include "Collation.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

Attributes AttributesOf(const xmlNode* node) {
    Attributes out;
    for (const xmlAttr* a = node ? node->properties : nullptr; a; a = a->next) {
        const std::string name = reinterpret_cast<const char*>(a->name);
        out.emplace_back(name, GetAttribute(node, name.c_str()).value_or(""));
    }
    return out;
}

std::string Find(const Attributes& attrs, const std::string& name, bool* found = nullptr) {
    for (const auto& [n, v] : attrs) {
        if (n == name) {
            if (found) {
                *found = true;
            }
            return v;
        }
    }
    if (found) {
        *found = false;
    }
    return {};
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
        out += (out.empty() ? "" : ", ") + item;
    }
    return out;
}

// Each attribute that differs (or is on one side only), in A's order and then B's.
void DiffAttributes(
    const Attributes& a, const Attributes& b,
    const std::function<void(const std::string&, const std::string&, const std::string&)>& report) {
    for (const auto& [name, value] : a) {
        bool found = false;
        const std::string other = Find(b, name, &found);
        if (!found || other != value) {
            report(name, value, found ? other : "");
        }
    }
    for (const auto& [name, value] : b) {
        bool found = false;
        Find(a, name, &found);
        if (!found) {
            report(name, "", value);
        }
    }
}

struct Contact {
    std::string element;
    std::string name;
    std::string pid;
    Attributes attrs;  // all but home_grp
    std::string homeGroup;
    std::vector<std::string> groups;      // names, sorted
    std::vector<std::string> scrollList;  // in list order
};

class CProfileView {
  public:
    explicit CProfileView(xmlDoc* doc) : m_xpath(doc) {
        for (xmlNode* c : m_xpath.SelectNodes("//dfns:Contacts/dfns:*/dfns:*")) {
            m_groupNames.emplace(GetAttribute(c, "pid").value_or(""),
                                 GetAttribute(c, "name").value_or(""));
        }
        // Private groups take precedence over the others with the same PID.
        for (xmlNode* g : m_xpath.SelectNodes("//dfns:PrivateGroups/dfns:PrivateGroup")) {
            m_groupNames[GetAttribute(g, "pid").value_or("")] =
                GetAttribute(g, "name").value_or("");
        }
        for (xmlNode* c : m_xpath.SelectNodes("//dfns:Contacts/dfns:*/dfns:*")) {
            Contact contact;
            contact.element = reinterpret_cast<const char*>(c->name);
            contact.name = GetAttribute(c, "name").value_or("");
            contact.pid = GetAttribute(c, "pid").value_or("");
            for (auto& attr : AttributesOf(c)) {
                if (attr.first != "home_grp") {
                    contact.attrs.push_back(std::move(attr));
                }
            }
            contact.homeGroup = GroupName(GetAttribute(c, "home_grp").value_or(""));
            for (xmlNode* p :
                 m_xpath.SelectNodes("dfns:ParentPrivateGroups/dfns:ParentPrivateGroup", c)) {
                contact.groups.push_back(GroupName(GetAttribute(p, "pid").value_or("")));
            }
            std::sort(contact.groups.begin(), contact.groups.end());
            for (xmlNode* l : m_xpath.SelectNodes("dfns:scrolllist/dfns:list", c)) {
                contact.scrollList.push_back(GetAttribute(l, "name").value_or(""));
            }
            contacts.push_back(std::move(contact));
        }
        for (xmlNode* t : m_xpath.SelectNodes("//dfns:TextMessages/dfns:TextMessage")) {
            texts.push_back(GetAttribute(t, "txt").value_or(""));
        }
    }

    xmlNode* Element(const char* name) const {
        return m_xpath.SelectFirst(std::string("/dfns:QMVProfile/dfns:") + name);
    }
    std::vector<std::string> Languages() const {
        std::vector<std::string> out;
        for (xmlNode* l : m_xpath.SelectNodes("//dfns:limit/dfns:languages/dfns:language")) {
            out.push_back(GetAttribute(l, "language_id").value_or(""));
        }
        return out;
    }

    std::vector<Contact> contacts;
    std::vector<std::string> texts;

  private:
    std::string GroupName(const std::string& pid) const {
        if (pid.empty()) {
            return {};
        }
        const auto it = m_groupNames.find(pid);
        return it == m_groupNames.end() ? pid : it->second;
    }

    CXPath m_xpath;
    std::map<std::string, std::string> m_groupNames;
};

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Subject(const Contact& c) {
    return c.element + " " + Quoted(c.name);
}

void DiffContacts(const CProfileView& a, const CProfileView& b,
                  std::vector<ProfileDifference>& out) {
    const std::string section = "Contacts";
    std::vector<int> match(a.contacts.size(), -1);
    std::vector<bool> taken(b.contacts.size(), false);
    auto pair = [&](auto&& same) {
        for (std::size_t i = 0; i < a.contacts.size(); ++i) {
            for (std::size_t j = 0; match[i] < 0 && j < b.contacts.size(); ++j) {
                if (!taken[j] && same(a.contacts[i], b.contacts[j])) {
                    match[i] = static_cast<int>(j);
                    taken[j] = true;
                }
            }
        }
    };
    pair([](const Contact& x, const Contact& y) {
        return CompareContactNamesUtf8(x.name, y.name) == 0;
    });
    pair([](const Contact& x, const Contact& y) { return !x.pid.empty() && x.pid == y.pid; });

    for (std::size_t i = 0; i < a.contacts.size(); ++i) {
        const Contact& x = a.contacts[i];
        if (match[i] < 0) {
            out.push_back({section, ProfileDifference::Kind::Removed, Subject(x), "", "", ""});
            continue;
        }
        const Contact& y = b.contacts[static_cast<std::size_t>(match[i])];
        auto changed = [&](const std::string& field, const std::string& before,
                           const std::string& after) {
            out.push_back(
                {section, ProfileDifference::Kind::Changed, Subject(x), field, before, after});
        };
        if (x.element != y.element) {
            changed("type", x.element, y.element);
        }
        DiffAttributes(x.attrs, y.attrs, changed);
        if (x.homeGroup != y.homeGroup) {
            changed("home_grp", x.homeGroup, y.homeGroup);
        }
        if (x.groups != y.groups) {
            changed(LoadString(MessageId::kDiffGroups), Join(x.groups), Join(y.groups));
        }
        if (x.scrollList != y.scrollList) {
            changed(LoadString(MessageId::kDiffScrollList), Join(x.scrollList), Join(y.scrollList));
        }
    }
    for (std::size_t j = 0; j < b.contacts.size(); ++j) {
        if (!taken[j]) {
            out.push_back(
                {section, ProfileDifference::Kind::Added, Subject(b.contacts[j]), "", "", ""});
        }
    }
}

void DiffTexts(const CProfileView& a, const CProfileView& b, std::vector<ProfileDifference>& out) {
    std::vector<bool> taken(b.texts.size(), false);
    for (const std::string& text : a.texts) {
        bool found = false;
        for (std::size_t j = 0; !found && j < b.texts.size(); ++j) {
            if (!taken[j] && b.texts[j] == text) {
                taken[j] = found = true;
            }
        }
        if (!found) {
            out.push_back(
                {"TextMessages", ProfileDifference::Kind::Removed, Quoted(text), "", "", ""});
        }
    }
    for (std::size_t j = 0; j < b.texts.size(); ++j) {
        if (!taken[j]) {
            out.push_back(
                {"TextMessages", ProfileDifference::Kind::Added, Quoted(b.texts[j]), "", "", ""});
        }
    }
}

}  // namespace

std::vector<ProfileDifference> DiffProfiles(xmlDoc* a, xmlDoc* b) {
    const CProfileView va(a);
    const CProfileView vb(b);
    std::vector<ProfileDifference> out;
    for (const char* section : {"version", "limit", "setting"}) {
        DiffAttributes(
            AttributesOf(va.Element(section)), AttributesOf(vb.Element(section)),
            [&](const std::string& name, const std::string& before, const std::string& after) {
                out.push_back({section, ProfileDifference::Kind::Changed, name, "", before, after});
            });
        if (std::string_view(section) == "limit" && va.Languages() != vb.Languages()) {
            out.push_back({section, ProfileDifference::Kind::Changed, "languages", "",
                           Join(va.Languages()), Join(vb.Languages())});
        }
    }
    DiffContacts(va, vb, out);
    DiffTexts(va, vb, out);
    return out;
}

std::vector<std::string> FormatProfileDifferences(const std::vector<ProfileDifference>& diffs) {
    const CStringTable& table = CStringTable::Instance();
    std::vector<std::string> lines;
    std::string section;
    for (const ProfileDifference& d : diffs) {
        if (d.section != section) {
            section = d.section;
            lines.push_back(table.Format(MessageId::kDiffSection, {section}));
        }
        std::string line;
        switch (d.kind) {
            case ProfileDifference::Kind::Added:
                line = table.Format(MessageId::kDiffAdded, {d.subject});
                break;
            case ProfileDifference::Kind::Removed:
                line = table.Format(MessageId::kDiffRemoved, {d.subject});
                break;
            case ProfileDifference::Kind::Changed:
                line = table.Format(MessageId::kDiffChanged,
                                    {d.field.empty() ? d.subject : d.subject + " " + d.field,
                                     Quoted(d.before), Quoted(d.after)});
                break;
        }
        lines.push_back("  " + line);
    }
    return lines;
}
