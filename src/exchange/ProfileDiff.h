#pragma once

#include <string>
#include <vector>

#include "XmlDom.h"

// One difference between two profiles, from the first (A) to the second (B).
struct ProfileDifference {
    enum class Kind { Changed, Added, Removed };
    std::string section;  // "version", "limit", "setting", "Contacts" or "TextMessages"
    Kind kind = Kind::Changed;
    std::string subject;  // an attribute of the section, a contact ("Private \"Ann\"") or a text
    std::string field;    // of a changed contact: the attribute or list that differs
    std::string before;
    std::string after;
};

// The differences between two profile documents, by section in profile order: attributes of
// version, limit (with its languages) and setting; contacts added, removed or changed, matched by
// name (as the name order compares them) and then by PID, their private groups and home group
// compared by group name and their private scroll lists by entry; texts added or removed.
std::vector<ProfileDifference> DiffProfiles(xmlDoc* a, xmlDoc* b);

// The differences as lines for a reader: a "[section]" line before each section's entries.
std::vector<std::string> FormatProfileDifferences(const std::vector<ProfileDifference>& diffs);
