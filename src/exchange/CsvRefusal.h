#pragma once

#include <string>

// A row (or a header column) a CSV import left out: its line in the file and the message that
// says why.
struct CsvRefusal {
    int line = 0;
    int messageId = 0;
    std::string text;  // the message, formatted

    bool operator==(const CsvRefusal&) const = default;
};

// "Line N: message".
std::string FormatRefusal(const CsvRefusal& refusal);
