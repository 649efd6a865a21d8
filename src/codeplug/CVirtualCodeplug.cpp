#include "CVirtualCodeplug.h"

int CVirtualCodeplug::FindContactByPid(std::u16string_view pid, int typeFilter) const {
    if (pid.empty()) {
        pid = limits.pid;
    }
    for (int i = 0; i < kMaxContacts; ++i) {
        const CContactRecord& rec = contacts[static_cast<std::size_t>(i)];
        if (rec.InUse() && (typeFilter == -1 || rec.cntct_type == typeFilter) && rec.pid == pid) {
            return i;
        }
    }
    return -1;
}

void CVirtualCodeplug::Count() {
    counters = {};
    for (const CContactRecord& rec : contacts) {
        if (!rec.InUse()) {
            continue;
        }
        ++counters.contacts;
        if (rec.cntct_type == kContactPublicGroup) {
            ++counters.public_groups;
        } else if (rec.cntct_type == kContactPrivateGroup) {
            ++counters.private_groups;
        }
    }
    for (const std::u16string& text : texts) {
        if (!text.empty()) {
            ++counters.messages;
        }
    }
}

void CVirtualCodeplug::OwnRecordFromSettings() {
    const int index = FindContactByPid(limits.pid, kContactPrivate);
    if (index < 0) {
        return;
    }
    CContactRecord& own = contacts[static_cast<std::size_t>(index)];
    const std::uint32_t caps = limits.capability_flags;
    const std::uint32_t flags = settings.settings_flags;
    PutBit(own.private_flags, kPrivateSeeAllGroups, false);
    PutBit(own.private_flags, kPrivateMngrMode,
           TestBit(flags, kSetMngrMode) && TestBit(caps, kCapMngrModeEn));
    PutBit(own.private_flags, kPrivateSeeAllGroups,
           TestBit(flags, kSetSeeAllGrps) && TestBit(caps, kCapSeeAllGroupsEn));
}

void CVirtualCodeplug::SettingsFromOwnRecord() {
    PutBit(settings.settings_flags, kSetMngrMode, false);
    PutBit(settings.settings_flags, kSetSeeAllGrps, false);
    const int index = FindContactByPid(limits.pid, kContactPrivate);
    if (index < 0) {
        return;
    }
    const CContactRecord& own = contacts[static_cast<std::size_t>(index)];
    const std::uint32_t caps = limits.capability_flags;
    PutBit(settings.settings_flags, kSetMngrMode,
           TestBit(caps, kCapMngrModeEn) && (own.private_flags & kPrivateMngrMode));
    PutBit(settings.settings_flags, kSetSeeAllGrps,
           TestBit(caps, kCapSeeAllGroupsEn) && (own.private_flags & kPrivateSeeAllGroups));
}
