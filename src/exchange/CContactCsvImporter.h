#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "CDataItem.h"
#include "ContactCsv.h"
#include "CsvRefusal.h"

class CRadioDataModel;

struct CsvImportResult {
    int added = 0;
    int updated = 0;
    std::vector<CsvRefusal> refused;  // by line
};

// Imports contacts CSV into a profile through its data items, so the rule file decides every
// change: a row adds a contact or updates the one of the same name; a row the rules refuse is
// reported and leaves the profile as it was, the accepted rows stay.
//
// Contacts are made in three passes so that no row depends on the order of the file: public groups
// and private contacts first, then private groups (a group needs a private contact that can join
// it), then the private contacts' groups and home groups.
class CContactCsvImporter {
  public:
    explicit CContactCsvImporter(CRadioDataModel& model);

    // Text that is not contacts CSV raises kNotContactsCsv and changes nothing.
    CsvImportResult Import(std::string_view bytes);

  private:
    struct Row;
    struct Undo {
        std::string attribute;
        std::string value;
    };

    std::vector<Row> ReadRows(std::string_view bytes) const;
    void CheckValues(Row& row);
    void CheckGroupNames(std::vector<Row>& rows);
    void ApplyFields(Row& row);
    void ApplyGroups(Row& row);
    void Refuse(Row& row, int messageId, std::string text = {});

    CDataItem List(const ContactCsv::Kind& kind) const;
    std::optional<CDataItem> FindContact(std::string_view name,
                                         const ContactCsv::Kind** kind = nullptr) const;
    // The PID of the group of that name (private groups first), or nothing.
    std::optional<std::string> GroupPid(std::string_view name, bool privateOnly) const;
    // Commits one attribute (answering the rules' questions with OK); 0 or the refusal's message.
    int Commit(CDataItem& item, const char* attribute, const std::string& value,
               std::vector<Undo>& undo);
    void Revert(CDataItem& item, const std::vector<Undo>& undo);
    // A refused row's contact as it was before the row: removed when the row added it, its
    // attributes, groups and home group back otherwise (later: changes after the first pass).
    void UndoRow(Row& row, CDataItem& item, const std::vector<Undo>& later);
    std::vector<std::string> Memberships(const CDataItem& item) const;
    // The private's group PIDs made exactly these; 0 or the refusal's message.
    int SetMemberships(CDataItem& item, const std::vector<std::string>& pids);
    void Delete(const ContactCsv::Kind& kind, xmlNode* contact);

    CRadioDataModel& m_model;
    CsvImportResult m_result;
    std::set<const xmlNode*> m_taken;  // contacts a row of the file has set
};
