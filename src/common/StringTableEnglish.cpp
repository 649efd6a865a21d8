#include "StringTable.h"

// The English texts, sorted by id, from the list of messages.
const StringTableEntry kEnglishStrings[] = {
#define QMV_MESSAGE(number, name, text) {number, text},
#include "Messages.def"
#undef QMV_MESSAGE
};
const std::size_t kEnglishStringCount = sizeof(kEnglishStrings) / sizeof(kEnglishStrings[0]);
