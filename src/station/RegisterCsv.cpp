#include "RegisterCsv.h"

#include "CsvText.h"

namespace {

void AppendRow(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out += (i ? "," : "") + QuoteCsvField(fields[i]);
    }
    out += "\r\n";
}

}  // namespace

std::string RegisterCsv(const std::vector<CRegisterRecord>& records) {
    std::string out = "\xEF\xBB\xBF";
    const auto columns = RegisterColumns();
    AppendRow(out, std::vector<std::string>(columns.begin(), columns.end()));
    for (const CRegisterRecord& record : records) {
        AppendRow(out, RegisterFields(record));
    }
    return out;
}
