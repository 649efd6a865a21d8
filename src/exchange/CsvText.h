#pragma once

#include <string>
#include <string_view>
#include <vector>

// One record of a CSV file and the line it starts on (1-based; a quoted field may span lines).
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;

    bool operator==(const CsvRecord&) const = default;
};

// Splits CSV text (RFC 4180 quoting, CRLF or LF line ends) into records; blank lines are skipped.
// Malformed quoting, a NUL byte or an unterminated quoted field raise CQMVVLTException
// notCsvMessage (the message naming what the file should have been) under context.
std::vector<CsvRecord> ReadCsvRecords(std::string_view text, char delimiter,
                                      std::string_view context, int notCsvMessage);

// The delimiter of CSV text: a semicolon when its first line holds more of them than commas
// (spreadsheets set to a comma decimal separator save so), else a comma.
char DetectCsvDelimiter(std::string_view text);

// A header cell as a column key: blanks at either end dropped, ASCII letters in lower case.
std::string CsvColumnKey(std::string_view cell);

// A cell's value without the blanks at either end.
std::string TrimCsvCell(std::string_view cell);

// The field as CSV: quoted (with inner quotes doubled) only when it holds the delimiter, a quote,
// a line end, or blanks at either end that a reader would trim.
std::string QuoteCsvField(std::string_view field, char delimiter = ',');

// The UTF-8 byte-order mark. Spreadsheet programs read a CSV file without it in the desktop's code
// page (an accented letter turns into two characters), and save it back that way.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// CSV bytes as UTF-8: a UTF-8 byte-order mark is dropped; bytes that are not UTF-8 are taken as
// code page 1252, the form spreadsheet programs save "CSV" in on the desktop.
std::string CsvBytesToUtf8(std::string_view bytes);
