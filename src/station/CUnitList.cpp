#include "CUnitList.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "CQMVVLTException.h"
#include "CUnitProfile.h"
#include "CsvText.h"
#include "MessageId.h"
#include "RadioText.h"
#include "StringTable.h"

namespace {

constexpr const char* kContext = "CUnitList::Read";
constexpr const char* kPid = "pid";
constexpr const char* kUnit = "unit";

std::string Format(int id, std::initializer_list<std::string_view> args) {
    return CStringTable::Instance().Format(id, args);
}

}  // namespace

std::string CUnit::OverridesText() const {
    if (overrides.empty()) {
        return {};
    }
    QJsonObject object;
    for (const auto& [name, value] : overrides) {
        object.insert(QString::fromStdString(name), QString::fromStdString(value));
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

CUnitList CUnitList::ReadFile(const std::filesystem::path& path, CUnitProfile& profile) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    if (!in || !(bytes << in.rdbuf())) {
        ThrowQMVVLT(MessageId::kNotUnitList, kContext,
                    "File='" + path.string() + "' cannot be read");
    }
    return Read(bytes.str(), profile);
}

CUnitList CUnitList::Read(std::string_view bytes, CUnitProfile& profile) {
    return TraceExceptions(kContext, [&] {
        const std::string text = CsvBytesToUtf8(bytes);
        const std::vector<CsvRecord> records =
            ReadCsvRecords(text, DetectCsvDelimiter(text), kContext, MessageId::kNotUnitList);
        if (records.empty()) {
            ThrowQMVVLT(MessageId::kNotUnitList, kContext, "no header row");
        }
        CUnitList list;
        auto refuse = [&list](int line, int id, std::string why) {
            list.m_refusals.push_back({line, id, std::move(why)});
        };

        const int headerLine = records.front().line;
        const std::vector<std::string> settings = profile.SettingNames();
        std::vector<std::string> header;
        for (const std::string& cell : records.front().fields) {
            header.push_back(CsvColumnKey(cell));
        }
        // What each column is: pid, unit, a setting, or nothing (empty, unknown or named twice).
        std::vector<std::string> columns;
        std::vector<std::string> seen;
        for (const std::string& key : header) {
            const bool known = key == kPid || key == kUnit ||
                               std::find(settings.begin(), settings.end(), key) != settings.end();
            const bool twice = std::find(seen.begin(), seen.end(), key) != seen.end();
            // An unnamed column is a spreadsheet's trailing empty one; a row with a value in it
            // is refused.
            if (!key.empty() && !known) {
                refuse(headerLine, MessageId::kUnitUnknownColumn,
                       Format(MessageId::kUnitUnknownColumn, {key}));
            } else if (!key.empty() && twice) {
                refuse(headerLine, MessageId::kUnitDuplicateColumn,
                       Format(MessageId::kUnitDuplicateColumn, {key}));
            }
            seen.push_back(key);
            columns.push_back(known && !twice ? key : std::string());
        }
        if (std::find(header.begin(), header.end(), kPid) == header.end()) {
            ThrowQMVVLT(MessageId::kNotUnitList, kContext, "no column 'pid' in the header row");
        }

        std::map<std::string, int, std::less<>> pidLines;  // also of rows refused for settings
        for (std::size_t r = 1; r < records.size(); ++r) {
            const CsvRecord& record = records[r];
            CUnit unit;
            unit.line = record.line;
            std::size_t unnamed = 0;  // a column with a value but no name (1-based)
            for (std::size_t i = 0; i < record.fields.size(); ++i) {
                const std::string value = TrimCsvCell(record.fields[i]);
                const bool named = i < header.size() && !header[i].empty();
                const std::string column = i < columns.size() ? columns[i] : std::string();
                if (value.empty()) {
                    continue;
                }
                if (!named) {
                    unnamed = unnamed ? unnamed : i + 1;
                } else if (column == kPid) {
                    unit.pid = value;
                } else if (column == kUnit) {
                    unit.label = value;
                } else if (!column.empty()) {
                    unit.overrides.emplace_back(column, value);
                }
            }
            if (unnamed) {
                refuse(unit.line, MessageId::kUnitUnknownColumn,
                       Format(MessageId::kUnitUnknownColumn, {"#" + std::to_string(unnamed)}));
                continue;
            }
            if (!IsValidPid(unit.pid)) {
                refuse(unit.line, MessageId::kUnitBadValue,
                       Format(MessageId::kUnitBadValue,
                              {unit.pid, kPid, LoadString(MessageId::kBadPid)}));
                continue;
            }
            if (const auto [at, first] = pidLines.emplace(unit.pid, unit.line); !first) {
                refuse(
                    unit.line, MessageId::kUnitDuplicatePid,
                    Format(MessageId::kUnitDuplicatePid, {unit.pid, std::to_string(at->second)}));
                continue;
            }
            if (auto refused = profile.TryApply(unit)) {
                refuse(unit.line, refused->first, std::move(refused->second));
                continue;
            }
            list.m_byPid.emplace(unit.pid, list.m_units.size());
            list.m_units.push_back(std::move(unit));
        }
        profile.Apply(nullptr);
        return list;
    });
}

const CUnit* CUnitList::Find(std::string_view pid) const {
    const auto it = m_byPid.find(pid);
    return it == m_byPid.end() ? nullptr : &m_units[it->second];
}
