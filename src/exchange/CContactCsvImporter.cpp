#include "CContactCsvImporter.h"

#include <algorithm>
#include <map>

#include "CQMVVLTException.h"
#include "CRadioDataModel.h"
#include "Collation.h"
#include "CsvText.h"
#include "MessageId.h"
#include "StringTable.h"

namespace {

constexpr const char* kContext = "CContactCsvImporter::Import";
constexpr int kIdOk = 1;  // the answer the rules take as confirmed

bool IsDigits(std::string_view text) {
    return !text.empty() && text.size() <= 11 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Attr(const CDataItem& item, const char* name) {
    return GetAttribute(item.Node(), name).value_or("");
}

bool IsKind(const ContactCsv::Kind& kind, std::string_view element) {
    return element == kind.element;
}

}  // namespace

struct CContactCsvImporter::Row {
    int line = 0;
    const ContactCsv::Kind* kind = nullptr;
    std::string name;
    std::map<std::string, std::string> cells;  // the header's columns
    bool refused = false;
    bool added = false;
    // An updated contact as it was: the attributes the import changed, and a private's groups and
    // home group.
    std::vector<Undo> undo;
    std::vector<std::string> groupsBefore;
    std::string homeBefore;

    bool Has(const char* column) const { return cells.count(column) != 0; }
    std::string Cell(const char* column) const {
        const auto it = cells.find(column);
        return it == cells.end() ? std::string() : it->second;
    }
};

CContactCsvImporter::CContactCsvImporter(CRadioDataModel& model) : m_model(model) {}

CsvImportResult CContactCsvImporter::Import(std::string_view bytes) {
    return TraceExceptions(kContext, [&] {
        m_result = {};
        m_taken.clear();
        std::vector<Row> rows = ReadRows(bytes);
        for (Row& row : rows) {
            CheckValues(row);
        }
        CheckGroupNames(rows);
        auto pass = [&rows](const auto& wanted, auto&& apply) {
            for (Row& row : rows) {
                if (!row.refused && wanted(*row.kind)) {
                    apply(row);
                }
            }
        };
        auto isGroup = [](const ContactCsv::Kind& k) { return IsKind(k, "PrivateGroup"); };
        auto isPrivate = [](const ContactCsv::Kind& k) { return IsKind(k, "Private"); };
        pass([&](const ContactCsv::Kind& k) { return !isGroup(k); },
             [this](Row& row) { ApplyFields(row); });
        pass(isGroup, [this](Row& row) { ApplyFields(row); });
        pass(isPrivate, [this](Row& row) { ApplyGroups(row); });
        for (const Row& row : rows) {
            if (!row.refused) {
                ++(row.added ? m_result.added : m_result.updated);
            }
        }
        std::stable_sort(m_result.refused.begin(), m_result.refused.end(),
                         [](const CsvRefusal& a, const CsvRefusal& b) { return a.line < b.line; });
        return m_result;
    });
}

std::vector<CContactCsvImporter::Row> CContactCsvImporter::ReadRows(std::string_view bytes) const {
    const std::string text = CsvBytesToUtf8(bytes);
    const std::vector<CsvRecord> records =
        ReadCsvRecords(text, DetectCsvDelimiter(text), kContext, MessageId::kNotContactsCsv);
    if (records.empty()) {
        ThrowQMVVLT(MessageId::kNotContactsCsv, kContext, "no header row");
    }
    std::vector<std::string> header;
    for (const std::string& column : records.front().fields) {
        header.push_back(CsvColumnKey(column));
    }
    for (const char* required : {ContactCsv::kType, ContactCsv::kName}) {
        if (std::find(header.begin(), header.end(), required) == header.end()) {
            ThrowQMVVLT(MessageId::kNotContactsCsv, kContext,
                        std::string("no column '") + required + "' in the header row");
        }
    }
    std::vector<Row> rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
        Row row;
        row.line = records[r].line;
        for (std::size_t i = 0; i < header.size(); ++i) {
            // A column named twice: the first one counts.
            row.cells.emplace(header[i], i < records[r].fields.size() ? records[r].fields[i] : "");
        }
        row.name = row.Cell(ContactCsv::kName);
        rows.push_back(std::move(row));
    }
    return rows;
}

// What the views would never let through: kinds, numbers and flags that are not such.
void CContactCsvImporter::CheckValues(Row& row) {
    const std::string type = CsvColumnKey(row.Cell(ContactCsv::kType));
    for (const ContactCsv::Kind& kind : ContactCsv::kKinds) {
        if (type == kind.word) {
            row.kind = &kind;
        }
    }
    if (!row.kind) {
        return Refuse(row, MessageId::kCsvUnknownType);
    }
    auto bad = [&row, this](const char* column) {
        Refuse(
            row, MessageId::kCsvBadValue,
            CStringTable::Instance().Format(MessageId::kCsvBadValue, {row.Cell(column), column}));
    };
    const bool isPublic = IsKind(*row.kind, "PublicGroup");
    const bool isPrivate = IsKind(*row.kind, "Private");
    std::vector<const char*> numbers = {ContactCsv::kChannel};
    std::vector<const char*> flags = {ContactCsv::kScrollList.name};
    if (isPublic) {
        numbers.push_back(ContactCsv::kId);
        flags.push_back(ContactCsv::kScanList.name);
    }
    if (isPrivate) {
        for (const ContactCsv::Column& flag : ContactCsv::kPrivateFlags) {
            flags.push_back(flag.name);
        }
        const std::string ringer = row.Cell(ContactCsv::kRinger.name);
        if (!ringer.empty() &&
            (!IsDigits(ringer) || std::stoll(ringer) < 0 || std::stoll(ringer) > 12)) {
            return bad(ContactCsv::kRinger.name);
        }
    }
    for (const char* column : numbers) {
        const std::string value = row.Cell(column);
        if (!value.empty() && !IsDigits(value)) {
            return bad(column);
        }
    }
    for (const char* column : flags) {
        const std::string value = row.Cell(column);
        if (!value.empty() && value != "0" && value != "1") {
            return bad(column);
        }
    }
}

// A private row naming a group that neither the profile nor the file holds is refused before
// anything changes: its channel change could otherwise empty, and so delete, a group for good.
void CContactCsvImporter::CheckGroupNames(std::vector<Row>& rows) {
    auto inFile = [&rows](const std::string& name, bool privateOnly) {
        return std::any_of(rows.begin(), rows.end(), [&](const Row& other) {
            return !other.refused &&
                   (IsKind(*other.kind, "PrivateGroup") ||
                    (!privateOnly && IsKind(*other.kind, "PublicGroup"))) &&
                   CompareContactNamesUtf8(other.name, name) == 0;
        });
    };
    for (Row& row : rows) {
        if (row.refused || !IsKind(*row.kind, "Private")) {
            continue;
        }
        std::vector<std::pair<std::string, bool>> named;
        for (const char* column : ContactCsv::kGroups) {
            named.emplace_back(row.Cell(column), true);
        }
        named.emplace_back(row.Cell(ContactCsv::kHomeGroup), false);
        for (const auto& [name, privateOnly] : named) {
            if (!name.empty() && !GroupPid(name, privateOnly) && !inFile(name, privateOnly)) {
                Refuse(row, MessageId::kCsvUnknownGroup,
                       CStringTable::Instance().Format(MessageId::kCsvUnknownGroup, {name}));
                break;
            }
        }
    }
}

void CContactCsvImporter::Refuse(Row& row, int messageId, std::string text) {
    row.refused = true;
    m_result.refused.push_back(
        {row.line, messageId, text.empty() ? LoadString(messageId) : std::move(text)});
}

void CContactCsvImporter::ApplyFields(Row& row) {
    const ContactCsv::Kind& kind = *row.kind;
    const bool isPublic = IsKind(kind, "PublicGroup");
    const bool isPrivate = IsKind(kind, "Private");
    const ContactCsv::Kind* existingKind = nullptr;
    std::optional<CDataItem> item = FindContact(row.name, &existingKind);
    // Names are unique among all contacts; a name met twice in the file is refused the second
    // time, like a name another kind of contact has.
    if (item && (existingKind != &kind || m_taken.count(item->Node()) != 0)) {
        return Refuse(row, MessageId::kSimilarName);
    }
    if (!item) {
        CDataItem list = List(kind);
        if (!list.CanAddChild()) {
            return Refuse(row, MessageId::kCsvNoRoom);
        }
        item = isPublic ? list.AddNewChild()
                        : list.AddNewPriGrpPrivate(
                              LoadString(isPrivate ? MessageId::kPrivate : MessageId::kGroup));
        if (!item) {
            return Refuse(row, MessageId::kCsvNoRoom);
        }
        row.added = true;
    }
    if (!row.added && isPrivate) {
        row.groupsBefore = Memberships(*item);
        row.homeBefore = Attr(*item, "home_grp");
    }
    std::vector<Undo>& undo = row.undo;
    int message = Commit(*item, "name", row.name, undo);
    const std::string id = row.Cell(ContactCsv::kId);
    if (!message && !id.empty()) {
        const std::string pid =
            isPublic ? PublicGroupNumberToPid(m_model.GetPublicGroupIdBanks(), std::stoll(id)) : id;
        message = pid.empty() ? MessageId::kNotAPublicGroupId : Commit(*item, "pid", pid, undo);
    }
    const std::string channel = row.Cell(ContactCsv::kChannel);
    if (!message && !channel.empty()) {
        message = Commit(*item, "channel", channel, undo);
        // The rules call a channel the views never offer a programming error.
        message = message == MessageId::kProgrammingError108 ? MessageId::kNoSuchChannel : message;
    }
    std::vector<ContactCsv::Column> columns = {ContactCsv::kScrollList};
    if (isPublic) {
        columns.push_back(ContactCsv::kScanList);
    }
    if (isPrivate) {
        columns.push_back(ContactCsv::kRinger);
        columns.insert(columns.end(), ContactCsv::kPrivateFlags.begin(),
                       ContactCsv::kPrivateFlags.end());
    }
    for (const ContactCsv::Column& column : columns) {
        const std::string value = row.Cell(column.name);
        if (!message && !value.empty()) {
            message = Commit(*item, column.attribute, value, undo);
        }
    }
    if (message) {
        UndoRow(row, *item, {});
        return Refuse(row, message);
    }
    m_taken.insert(item->Node());
}

void CContactCsvImporter::ApplyGroups(Row& row) {
    bool hasGroups = false;
    for (const char* column : ContactCsv::kGroups) {
        hasGroups = hasGroups || row.Has(column);
    }
    const bool hasHome = row.Has(ContactCsv::kHomeGroup);
    if (!hasGroups && !hasHome) {
        return;
    }
    std::optional<CDataItem> item = FindContact(row.name);
    if (!item) {
        return Refuse(row, MessageId::kProgrammingError108);
    }
    auto fail = [&row, &item, this](int message, std::string text, const std::vector<Undo>& undo) {
        UndoRow(row, *item, undo);
        Refuse(row, message, std::move(text));
    };
    auto unknown = [&fail](const std::string& name) {
        fail(MessageId::kCsvUnknownGroup,
             CStringTable::Instance().Format(MessageId::kCsvUnknownGroup, {name}), {});
    };
    std::vector<std::string> wanted;
    for (const char* column : ContactCsv::kGroups) {
        const std::string name = row.Cell(column);
        if (name.empty()) {
            continue;
        }
        const auto pid = GroupPid(name, true);
        if (!pid) {
            return unknown(name);
        }
        if (std::find(wanted.begin(), wanted.end(), *pid) == wanted.end()) {
            wanted.push_back(*pid);
        }
    }
    std::string home;
    if (hasHome && !row.Cell(ContactCsv::kHomeGroup).empty()) {
        const auto pid = GroupPid(row.Cell(ContactCsv::kHomeGroup), false);
        if (!pid) {
            return unknown(row.Cell(ContactCsv::kHomeGroup));
        }
        home = *pid;
    }
    std::vector<Undo> undo;
    int message = hasGroups ? SetMemberships(*item, wanted) : 0;
    message = message == MessageId::kProgrammingError108 ? MessageId::kCsvGroupChannel : message;
    if (!message && hasHome) {
        message = Commit(*item, "home_grp", home, undo);
        message =
            message == MessageId::kProgrammingError108 ? MessageId::kCsvHomeGroupChannel : message;
    }
    if (message) {
        fail(message, {}, undo);
    }
}

CDataItem CContactCsvImporter::List(const ContactCsv::Kind& kind) const {
    return m_model.GetRootItem().GetChildByName("Contacts").GetChildByName(kind.list);
}

std::optional<CDataItem> CContactCsvImporter::FindContact(std::string_view name,
                                                          const ContactCsv::Kind** kind) const {
    for (const ContactCsv::Kind& k : ContactCsv::kKinds) {
        const CDataItem list = List(k);
        for (int i = 0, n = list.GetChildCount(); i < n; ++i) {
            CDataItem contact = list.GetChildByIndex(i);
            if (CompareContactNamesUtf8(Attr(contact, "name"), name) == 0) {
                if (kind) {
                    *kind = &k;
                }
                return contact;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> CContactCsvImporter::GroupPid(std::string_view name,
                                                         bool privateOnly) const {
    for (const ContactCsv::Kind& k : ContactCsv::kKinds) {
        const bool isPrivateGroup = IsKind(k, "PrivateGroup");
        if (!isPrivateGroup && (privateOnly || !IsKind(k, "PublicGroup"))) {
            continue;
        }
        const CDataItem list = List(k);
        for (int i = 0, n = list.GetChildCount(); i < n; ++i) {
            const CDataItem group = list.GetChildByIndex(i);
            if (CompareContactNamesUtf8(Attr(group, "name"), name) == 0) {
                return Attr(group, "pid");
            }
        }
    }
    return std::nullopt;
}

int CContactCsvImporter::Commit(CDataItem& item, const char* attribute, const std::string& value,
                                std::vector<Undo>& undo) {
    const std::string before = Attr(item, attribute);
    if (before == value) {
        return 0;
    }
    RuleResult stored = item.SetAttributeValue(attribute, ScriptText(value));
    if (stored.result == 2) {  // a question: importing the file is the user's answer
        stored = item.SetAttributeValue(attribute, ScriptText(value), kIdOk);
    }
    if (stored.result != 0) {
        return stored.messageId != 0 ? stored.messageId : MessageId::kProgrammingError108;
    }
    undo.push_back({attribute, before});
    return 0;
}

void CContactCsvImporter::Revert(CDataItem& item, const std::vector<Undo>& undo) {
    for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
        item.SetAttributeValue(it->attribute, ScriptText(it->value), kIdOk);
    }
}

int CContactCsvImporter::SetMemberships(CDataItem& item, const std::vector<std::string>& pids) {
    CDataItem parents = item.GetChildByName("ParentPrivateGroups");
    for (int i = parents.GetChildCount() - 1; i >= 0; --i) {
        const std::string pid = Attr(parents.GetChildByIndex(i), "pid");
        if (std::find(pids.begin(), pids.end(), pid) == pids.end()) {
            parents.RemoveChildByIndex(i, kIdOk);
        }
    }
    for (const std::string& pid : pids) {
        std::vector<std::string> present;
        for (xmlNode* entry : ElementChildren(parents.Node())) {
            present.push_back(GetAttribute(entry, "pid").value_or(""));
        }
        if (std::find(present.begin(), present.end(), pid) != present.end()) {
            continue;
        }
        std::optional<CDataItem> entry = parents.AddNewChild();
        if (!entry) {
            return MessageId::kMaxGroupsPerPrivate;
        }
        std::vector<Undo> unused;
        if (const int message = Commit(*entry, "pid", pid, unused)) {
            const auto children = ElementChildren(parents.Node());
            const auto at = std::find(children.begin(), children.end(), entry->Node());
            parents.RemoveChildByIndex(static_cast<int>(at - children.begin()), kIdOk);
            return message;
        }
    }
    return 0;
}

void CContactCsvImporter::Delete(const ContactCsv::Kind& kind, xmlNode* contact) {
    CDataItem list = List(kind);
    const auto children = ElementChildren(list.Node());
    const auto at = std::find(children.begin(), children.end(), contact);
    if (at != children.end()) {
        list.RemoveChildByIndex(static_cast<int>(at - children.begin()), kIdOk);
    }
}

std::vector<std::string> CContactCsvImporter::Memberships(const CDataItem& item) const {
    std::vector<std::string> pids;
    for (xmlNode* entry : ElementChildren(item.GetChildByName("ParentPrivateGroups").Node())) {
        pids.push_back(GetAttribute(entry, "pid").value_or(""));
    }
    return pids;
}

void CContactCsvImporter::UndoRow(Row& row, CDataItem& item, const std::vector<Undo>& later) {
    if (row.added) {
        Delete(*row.kind, item.Node());
        row.added = false;
        return;
    }
    Revert(item, later);
    Revert(item, row.undo);
    // A channel put back has taken the private out of its groups again.
    if (IsKind(*row.kind, "Private")) {
        SetMemberships(item, row.groupsBefore);
        std::vector<Undo> unused;
        Commit(item, "home_grp", row.homeBefore, unused);
    }
}
