#pragma once

#include <vector>

#include "CVirtualCodeplug.h"

// The decisions a write makes before it sends anything, kept apart from the line so they can be
// checked on their own: which public groups the radio cannot take, which warnings to raise, the
// channel remap, and the order and numbering of the records sent.
class CWritePlan {
  public:
    // Public groups whose PID lies in none of the radio's ranges become empty slots; the counters
    // of work are lowered for each. Returns how many were dropped.
    static int DropForeignPublicGroups(CVirtualCodeplug& work, const CRadioLimits& radio);
    // Whether the radio cannot take all of work (after the drop, which counts as such).
    static bool NotSupported(const CVirtualCodeplug& work, const CRadioLimits& radio, int dropped);
    // No private contact of work carries the radio's own PID.
    static bool RadioNotInProfile(const CVirtualCodeplug& work, const CRadioLimits& radio);
    // A standard-model profile going to a modified-band radio uses channels the radio lacks.
    static bool NeedsChannelRemap(const CVirtualCodeplug& source, const CRadioLimits& radio);
    // Channels 5, 6, 7 become 2, 3, 4, and the records so moved leave the scan list.
    static void RemapChannels(CVirtualCodeplug& work);

    // Indexes of the records to send, in sending order: private groups, public groups, then
    // private contacts, each within its capacity, and no more than the contact capacity in all.
    static std::vector<int> ContactOrder(const CVirtualCodeplug& work);
    // Indexes of the texts to send: the non-empty ones, no more than the radio's capacity.
    static std::vector<int> TextOrder(const CVirtualCodeplug& work);
};
