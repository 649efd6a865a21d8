#include "CsvText.h"

#include <csv.h>

#include <algorithm>
#include <cctype>

#include "CQMVVLTException.h"
#include "TextCodec.h"

namespace {

// What the parser's callbacks build; line numbers are counted here, as libcsv does not.
struct CsvCollector {
    std::vector<CsvRecord> records;
    std::vector<std::string> fields;
    int line = 1;
    int recordLine = 0;  // 0 between records
};

void OnField(void* data, std::size_t length, void* user) {
    auto* c = static_cast<CsvCollector*>(user);
    c->fields.emplace_back(static_cast<const char*>(data), length);
}

void OnRecord(int, void* user) {
    auto* c = static_cast<CsvCollector*>(user);
    c->records.push_back({c->recordLine, std::move(c->fields)});
    c->fields.clear();
    c->recordLine = 0;
}

// A parser that is freed however the reading ends.
class CCsvParser {
  public:
    explicit CCsvParser(char delimiter) {
        m_ok = csv_init(&m_parser, CSV_STRICT | CSV_STRICT_FINI) == 0;
        if (m_ok) {
            csv_set_delim(&m_parser, static_cast<unsigned char>(delimiter));
        }
    }
    ~CCsvParser() {
        if (m_ok) {
            csv_free(&m_parser);
        }
    }
    CCsvParser(const CCsvParser&) = delete;
    CCsvParser& operator=(const CCsvParser&) = delete;
    bool Ok() const { return m_ok; }
    csv_parser* Get() { return &m_parser; }

  private:
    csv_parser m_parser{};
    bool m_ok = false;
};

}  // namespace

std::vector<CsvRecord> ReadCsvRecords(std::string_view text, char delimiter,
                                      std::string_view context, int notCsvMessage) {
    CCsvParser parser(delimiter);
    if (!parser.Ok()) {
        ThrowQMVVLT(notCsvMessage, context, "csv_init failed");
    }
    CsvCollector c;
    bool afterCr = false;
    // One byte at a time, so each record knows the line it starts on.
    for (const char ch : text) {
        if (ch == '\0') {
            ThrowQMVVLT(notCsvMessage, context, "NUL byte on line " + std::to_string(c.line));
        }
        const bool lineEnd = ch == '\n' || ch == '\r';
        if (c.recordLine == 0 && !lineEnd) {
            c.recordLine = c.line;
        }
        if (csv_parse(parser.Get(), &ch, 1, OnField, OnRecord, &c) != 1) {
            ThrowQMVVLT(notCsvMessage, context,
                        std::string(csv_strerror(csv_error(parser.Get()))) + " on line " +
                            std::to_string(c.line));
        }
        if (ch == '\n' && !afterCr) {
            ++c.line;
        } else if (ch == '\r') {
            ++c.line;
        }
        afterCr = ch == '\r';
        // A line of nothing but blanks makes no record: the next one starts further down.
        // (pstate 0 is libcsv's "no row begun".)
        if (lineEnd && parser.Get()->pstate == 0) {
            c.recordLine = 0;
        }
    }
    if (csv_fini(parser.Get(), OnField, OnRecord, &c) != 0 ||
        csv_error(parser.Get()) != CSV_SUCCESS) {
        ThrowQMVVLT(notCsvMessage, context, "unterminated quoted field at the end of the file");
    }
    return std::move(c.records);
}

std::string QuoteCsvField(std::string_view field, char delimiter) {
    const bool needsQuotes =
        field.find_first_of(std::string{delimiter, '"', '\r', '\n'}) != std::string_view::npos ||
        (!field.empty() && (field.front() == ' ' || field.front() == '\t' || field.back() == ' ' ||
                            field.back() == '\t'));
    if (!needsQuotes) {
        return std::string(field);
    }
    std::string out = "\"";
    for (const char ch : field) {
        out += ch;
        if (ch == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string CsvBytesToUtf8(std::string_view bytes) {
    if (bytes.starts_with(kUtf8ByteOrderMark)) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

char DetectCsvDelimiter(std::string_view text) {
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    const auto commas = std::count(firstLine.begin(), firstLine.end(), ',');
    const auto semicolons = std::count(firstLine.begin(), firstLine.end(), ';');
    return semicolons > commas ? ';' : ',';
}

std::string TrimCsvCell(std::string_view cell) {
    const auto first = cell.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(cell.substr(first, cell.find_last_not_of(" \t") - first + 1));
}

std::string CsvColumnKey(std::string_view cell) {
    std::string key = TrimCsvCell(cell);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}
