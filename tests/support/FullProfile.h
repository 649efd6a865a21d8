#pragma once

#include <string>
#include <string_view>

#include "CVirtualCodeplug.h"

// An image that fills every block: 20 public groups, 30 private groups, 100 private contacts (each
// in up to five groups, with a home group), 25 texts, 6 languages, and settings and limits with
// values in every field. Names are ISO-8859-1 and include characters that need escaping.
CVirtualCodeplug MakeFullImage();
// The same contacts made to keep the contact rules, so that every view opens without a message:
// each private belongs only to groups of its own channel (its home group among them) and has a
// ringer 1..12.
CVirtualCodeplug MakeRuleConsistentFullImage();

// A profile document built from pieces: the version, limit and setting elements of a plain radio
// around the given Contacts children and TextMessage elements.
struct ProfilePieces {
    std::string publicGroups;
    std::string privateGroups;
    std::string privates;
    std::string texts;
    std::string languages = "<language language_id=\"1\"/>";
    std::string limitExtra;  // attributes added to <limit>, e.g. num_of_languages="3"
    std::string pid = "10000001";
};
std::string MakeProfile(const ProfilePieces& pieces);

// One contact element with the usual attributes (type from the element name unless given).
std::string PublicGroupXml(std::string_view name, std::string_view pid, int channel = 1,
                           int inScan = 0, int inScroll = 0);
std::string PrivateGroupXml(std::string_view name, std::string_view pid, int channel = 1,
                            int inScroll = 0);
std::string PrivateXml(std::string_view name, std::string_view pid, std::string_view inner = "",
                       std::string_view extraAttributes = "", int inScroll = 0);
