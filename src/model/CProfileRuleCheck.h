#pragma once

#include <string>
#include <vector>

#include "CDataItem.h"

// Asks the rule file about every contact list, contact and text message of a profile: the rules
// an edit is held to (names, character sets, PIDs, channels, capacities) checked over what the
// profile already holds, for a profile written by hand, by another program or for another model.
class CProfileRuleCheck {
  public:
    struct Finding {
        std::string text;          // "Contact \"Ana\": <the rule's message>" and the like
        bool warningOnly = false;  // the profile can still be written as it is
    };

    // Lists first (all contacts together, then each list), then their members in document order,
    // then the texts. root is the profile's root item.
    static std::vector<Finding> Check(const CDataItem& root);
};
