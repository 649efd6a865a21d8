#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>

// The state of an open profile that an undo step brings back: the edited profile document and what
// it was loaded with (model group, field lists, the form of the file). Snapshots of one load share
// its field lists.
struct CProfileSnapshot {
    std::string profile;                       // the profile document as UTF-8 XML
    std::shared_ptr<const xmlDoc> fieldLists;  // the operation document the profile was loaded with
    int modelGroup = 0;
    bool narrow = false;

    // Same profile, loaded the same way (the file form is not compared: saving may change it).
    bool SameState(const CProfileSnapshot& other) const {
        return profile == other.profile && fieldLists == other.fieldLists &&
               modelGroup == other.modelGroup;
    }
};
