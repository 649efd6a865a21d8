#include "CsvRefusal.h"

#include "MessageId.h"
#include "StringTable.h"

std::string FormatRefusal(const CsvRefusal& refusal) {
    return CStringTable::Instance().Format(MessageId::kCsvRowRefused,
                                           {std::to_string(refusal.line), refusal.text});
}
