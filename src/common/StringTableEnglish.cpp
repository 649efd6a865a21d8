#include "StringTable.h"

// The English texts, sorted by id.
const StringTableEntry kEnglishStrings[] = {
    {102, "Fatal error.\nPlease uninstall and re-install QMV VLT."},
    {103, "Failed to load profile."},
    {105, "Invalid profile."},
    {106, "Unknown Error"},
    {217, "The message can only contain ISO-8859-1 characters. By continuing, this message will be deleted. Do you want to continue?"},
    {218, "Contact name can only contain ISO-8859-1 characters."},
    {222, "PLACEHOLDER"},
};
const std::size_t kEnglishStringCount = sizeof(kEnglishStrings) / sizeof(kEnglishStrings[0]);
