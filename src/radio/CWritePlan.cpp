#include "CWritePlan.h"

#include <algorithm>

#include "CBlockCodec.h"

namespace {

// Capabilities a profile may ask for that a radio must also have.
constexpr int kRequiredCapabilities[] = {
    18,  // add_prvt_contacts_en
    17,  // add_prvt_grp_en
    19,  // call_forward_en
    11,  // public_scan_en
    13,  // see_all_groups_en
    22,  // sms_mesgs_tx_en
    9,   // sms_compose_mesgs_en
};
constexpr int kCapVibracallDis = 12;
constexpr int kCapSmsTx = 22;
constexpr int kCapSmsCompose = 9;
constexpr int kStandardFamily = 10;
constexpr int kModifiedBandFamily = 15;

bool InPublicRange(const std::u16string& pid, const CRadioLimits& radio) {
    const auto value = CBlockCodec::DecimalValue(pid);
    if (!value) {
        return false;
    }
    for (const auto& range : radio.public_grp_info) {
        const auto start = CBlockCodec::DecimalValue(range.start_pid);
        if (!start || range.list_size == 0) {
            continue;
        }
        const std::uint64_t size = range.list_size;
        const std::uint64_t first = *start + 1 >= size ? *start + 1 - size : 0;
        if (*value >= first && *value <= *start) {
            return true;
        }
    }
    return false;
}

}  // namespace

int CWritePlan::DropForeignPublicGroups(CVirtualCodeplug& work, const CRadioLimits& radio) {
    int dropped = 0;
    // Every record in use is looked at, packed or not, so no foreign group reaches the radio.
    for (auto& record : work.contacts) {
        if (record.InUse() && record.cntct_type == kContactPublicGroup &&
            !InPublicRange(record.pid, radio)) {
            record.cntct_type = kContactEmpty;
            --work.counters.contacts;
            --work.counters.public_groups;
            ++dropped;
        }
    }
    return dropped;
}

bool CWritePlan::NotSupported(const CVirtualCodeplug& work, const CRadioLimits& radio,
                              int dropped) {
    const auto& c = work.counters;
    const int privateContacts = c.contacts - c.public_groups - c.private_groups;
    const int contactRoom = radio.max_num_of_contacts -
                            std::min<int>(radio.max_num_of_public_grps, c.public_groups) -
                            std::min<int>(radio.max_num_of_private_grps, c.private_groups);
    bool missing = false;
    for (int bit : kRequiredCapabilities) {
        missing = missing || (TestBit(work.limits.capability_flags, bit) &&
                              !TestBit(radio.capability_flags, bit));
    }
    missing = missing || (TestBit(radio.capability_flags, kCapVibracallDis) &&
                          !TestBit(work.limits.capability_flags, kCapVibracallDis));
    // Predefined texts serve only for sending: a radio that neither sends nor composes messages
    // holds them unused, whatever room it has.
    missing = missing || (c.messages > 0 && !TestBit(radio.capability_flags, kCapSmsTx) &&
                          !TestBit(radio.capability_flags, kCapSmsCompose));
    return dropped > 0 || c.private_groups > radio.max_num_of_private_grps ||
           c.public_groups > radio.max_num_of_public_grps || privateContacts > contactRoom ||
           c.messages > radio.max_num_of_predefined_msgs || missing;
}

bool CWritePlan::RadioNotInProfile(const CVirtualCodeplug& work, const CRadioLimits& radio) {
    return work.FindContactByPid(radio.pid, kContactPrivate) < 0;
}

bool CWritePlan::NeedsChannelRemap(const CVirtualCodeplug& source, const CRadioLimits& radio) {
    if (source.limits.clone_compatibility_version != kStandardFamily ||
        radio.clone_compatibility_version != kModifiedBandFamily) {
        return false;
    }
    return std::any_of(source.contacts.begin(), source.contacts.end(), [&](const auto& r) {
        return r.cntct_type <= kContactPublicGroup && r.channel > radio.max_num_of_channels;
    });
}

void CWritePlan::RemapChannels(CVirtualCodeplug& work) {
    for (auto& record : work.contacts) {
        if (record.channel >= 5 && record.channel <= 7) {
            record.channel = static_cast<std::uint8_t>(record.channel - 3);
            record.contact_flags =
                static_cast<std::uint8_t>(record.contact_flags & ~kFlagInScanList);
        }
    }
}

std::vector<int> CWritePlan::ContactOrder(const CVirtualCodeplug& work) {
    const auto& limits = work.limits;
    const int total = std::min<int>(limits.max_num_of_contacts, work.counters.contacts);
    std::vector<int> order;
    const std::pair<std::uint8_t, int> passes[] = {
        {kContactPrivateGroup, limits.max_num_of_private_grps},
        {kContactPublicGroup, limits.max_num_of_public_grps},
        {kContactPrivate, limits.max_num_of_contacts},
    };
    for (const auto& [type, capacity] : passes) {
        int sent = 0;
        for (int i = 0; i < kMaxContacts; ++i) {
            if (sent >= capacity || static_cast<int>(order.size()) >= total) {
                break;
            }
            const auto& record = work.contacts[static_cast<std::size_t>(i)];
            if (record.InUse() && record.cntct_type == type) {
                order.push_back(i);
                ++sent;
            }
        }
    }
    return order;
}

std::vector<int> CWritePlan::TextOrder(const CVirtualCodeplug& work) {
    const int capacity = work.limits.max_num_of_predefined_msgs;
    std::vector<int> order;
    for (int i = 0; i < kMaxTexts && static_cast<int>(order.size()) < capacity; ++i) {
        if (!work.texts[static_cast<std::size_t>(i)].empty()) {
            order.push_back(i);
        }
    }
    return order;
}
