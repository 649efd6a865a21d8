#pragma once

#include <QString>
#include <string>
#include <vector>

#include "CDataItem.h"
#include "CTwoListModel.h"

// One contact of a profile as the list editors see it.
struct ContactRecord {
    int type = 0;       // cntct_type: 0 private, 1 private group, 2 public group
    int listIndex = 0;  // position within its list element
    std::string name;
    std::string pid;
    int channel = 0;
    int globalIndex = 0;  // running number in profile order, from 0
    bool member = false;  // in the list being edited
};

// Every contact of a profile in profile order: the lists under Contacts in document order, each
// list's children in order. The list editors find a row's contact through its global index.
class CContactTable {
  public:
    static constexpr int kPrivate = 0;
    static constexpr int kPrivateGroup = 1;
    static constexpr int kPublicGroup = 2;

    // Raises CQMVVLTException when Contacts is missing.
    explicit CContactTable(const CDataItem& root);

    std::vector<ContactRecord>& Records() { return m_records; }
    const std::vector<ContactRecord>& Records() const { return m_records; }
    ContactRecord& At(int globalIndex) {
        return m_records.at(static_cast<std::size_t>(globalIndex));
    }
    // The data item of a contact (through its list by type and its list index).
    CDataItem ItemOf(const ContactRecord& record) const;
    // The list element of a contact type (kProgrammingError107 when the profile lacks it).
    CDataItem ListOf(int type) const;
    // The tree's image of the contact: 11 for the own radio's private.
    int ImageOf(const ContactRecord& record) const;
    // The editor row of a contact.
    TwoListRow RowOf(const ContactRecord& record) const;
    // The rows of the records that pass keep, split into (available, members) by member flag.
    template <class Keep>
    std::pair<std::vector<TwoListRow>, std::vector<TwoListRow>> Rows(Keep keep) const {
        std::pair<std::vector<TwoListRow>, std::vector<TwoListRow>> rows;
        for (const ContactRecord& record : m_records) {
            if (keep(record)) {
                (record.member ? rows.second : rows.first).push_back(RowOf(record));
            }
        }
        return rows;
    }

  private:
    CDataItem m_contacts;
    std::string m_ownPid;
    std::vector<ContactRecord> m_records;
};
