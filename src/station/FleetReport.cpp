#include "FleetReport.h"

#include <map>

#include "MessageId.h"
#include "RegisterText.h"
#include "ReportHtml.h"
#include "ReportPage.h"
#include "StringTable.h"

namespace {

// The report's columns (RegisterColumns keys), then the profile mark.
constexpr std::string_view kColumns[] = {"pid",      "unit_label",    "model",
                                         "firmware", "profile_file",  "op_time",
                                         "station",  "verify_result", "outcome_text"};

bool IsWrite(const CRegisterRecord& record) {
    return record.operation == RegisterOperation::kWrite ||
           record.operation == RegisterOperation::kStationWrite ||
           record.operation == RegisterOperation::kRestore;
}

// The record's field under key, as the report shows it; fields are the record's RegisterFields.
std::string Field(const std::vector<std::string>& fields, std::string_view key) {
    const auto columns = RegisterColumns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (key == columns[i]) {
            std::string text = RegisterFieldText(key, fields[i]);
            if (key == "op_time" && text.size() >= 16) {
                text = text.substr(0, 10) + " " + text.substr(11, 5);  // to the minute, UTC
            }
            return text;
        }
    }
    return {};
}

std::string Cell(std::string_view text, bool header) {
    return std::string(header ? "<td class=\"ItemTitleUC\">" : "<td class=\"ItemVal\">") +
           EscapeReportText(text, false) + "</td>";
}

}  // namespace

std::vector<CRegisterRecord> LastWrites(const std::vector<CRegisterRecord>& records) {
    std::map<std::string, CRegisterRecord> last;
    for (const CRegisterRecord& record : records) {
        if (IsWrite(record) && !record.pid.empty()) {
            last[record.pid] = record;
        }
    }
    std::vector<CRegisterRecord> rows;
    for (auto& [pid, record] : last) {
        rows.push_back(std::move(record));
    }
    return rows;
}

std::string FleetReportPage(const std::vector<CRegisterRecord>& records,
                            const std::filesystem::path& reportFolder,
                            std::string_view activeProfileHash) {
    const std::vector<CRegisterRecord> rows = LastWrites(records);
    std::string table =
        "<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\" class=\"Item\"><tr>";
    for (const std::string_view key : kColumns) {
        table += Cell(LoadString(RegisterHeaderId(key)), true);
    }
    if (!activeProfileHash.empty()) {
        table += Cell(LoadString(MessageId::kRegisterMarkHeader), true);
    }
    table += "</tr>";
    int others = 0;
    for (const CRegisterRecord& record : rows) {
        table += "<tr>";
        const std::vector<std::string> fields = RegisterFields(record);
        for (const std::string_view key : kColumns) {
            table += Cell(Field(fields, key), false);
        }
        if (!activeProfileHash.empty()) {
            const bool other = record.profileHash != activeProfileHash;
            others += other ? 1 : 0;
            table += Cell(LoadString(other ? MessageId::kRegisterOtherProfile
                                           : MessageId::kRegisterSameProfile),
                          false);
        }
        table += "</tr>";
    }
    table += "</table>";

    ReportContent content;
    content.title = LoadString(MessageId::kFleetReportTitle);
    content.pictureCode = "Q410";
    content.html =
        ReportHtml::SectionTitle(LoadString(MessageId::kFleetLastWrites)) +
        ReportHtml::Paragraph(CStringTable::Instance().Format(
            MessageId::kFleetSummary, {std::to_string(rows.size()), std::to_string(others)})) +
        (rows.empty() ? ReportHtml::SingleItem(LoadString(MessageId::kNone)) : table);
    return FillReportTemplate(LoadReportTemplate(reportFolder / kOverviewReportTemplate), content);
}
