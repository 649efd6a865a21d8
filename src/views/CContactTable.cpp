#include "CContactTable.h"

#include "ViewIcons.h"

namespace {
const char* ListName(int type) {
    switch (type) {
        case CContactTable::kPrivate:
            return "Privates";
        case CContactTable::kPrivateGroup:
            return "PrivateGroups";
        default:
            return "PublicGroups";
    }
}
}  // namespace

CContactTable::CContactTable(const CDataItem& root)
    : m_contacts(root.GetChildByName("Contacts")),
      m_ownPid(ScriptToText(root.GetChildByName("limit").GetAttributeValue("pid"))) {
    const int lists = m_contacts.GetChildCount();
    for (int l = 0; l < lists; ++l) {
        const CDataItem list = m_contacts.GetChildByIndex(l);
        const int count = list.GetChildCount();
        for (int i = 0; i < count; ++i) {
            const CDataItem contact = list.GetChildByIndex(i);
            ContactRecord record;
            record.type = ScriptToInt32(contact.GetAttributeValue("cntct_type"));
            record.listIndex = i;
            record.name = ScriptToText(contact.GetAttributeValue("name"));
            record.pid = ScriptToText(contact.GetAttributeValue("pid"));
            record.channel = ScriptToInt32(contact.GetAttributeValue("channel"));
            record.globalIndex = static_cast<int>(m_records.size());
            m_records.push_back(std::move(record));
        }
    }
}

CDataItem CContactTable::ListOf(int type) const {
    return m_contacts.GetChildByName(ListName(type));
}

CDataItem CContactTable::ItemOf(const ContactRecord& record) const {
    return ListOf(record.type).GetChildByIndex(record.listIndex);
}

int CContactTable::ImageOf(const ContactRecord& record) const {
    switch (record.type) {
        case kPrivate:
            return record.pid == m_ownPid ? ViewIcons::kOwnRadioImage : ViewIcons::kPrivateImage;
        case kPrivateGroup:
            return ViewIcons::kPrivateGroupImage;
        default:
            return ViewIcons::kPublicGroupImage;
    }
}

TwoListRow CContactTable::RowOf(const ContactRecord& record) const {
    return {record.globalIndex, QString::fromStdString(record.name), ImageOf(record)};
}
