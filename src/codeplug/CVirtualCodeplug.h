#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The in-memory image of one radio's codeplug: everything that travels between the PC and a radio.
// An ordinary value type built with the radio defaults.

inline constexpr int kMaxContacts = 150;
inline constexpr int kMaxTexts = 25;
inline constexpr int kMaxLanguages = 6;
inline constexpr int kMaxParentGroups = 5;
inline constexpr int kPublicGroupRanges = 4;

// Contact record types.
enum ContactType : std::uint8_t {
    kContactPrivate = 0,
    kContactPrivateGroup = 1,
    kContactPublicGroup = 2,
    kContactEmpty = 255,
};

// Contact flag bits.
inline constexpr std::uint8_t kFlagIdInUse = 1u << 0;
inline constexpr std::uint8_t kFlagInScrollList = 1u << 1;
inline constexpr std::uint8_t kFlagShowGrpOnly = 1u << 2;
inline constexpr std::uint8_t kFlagInScanList = 1u << 3;
// Private flag bits.
inline constexpr std::uint8_t kPrivateSeeAllGroups = 1u << 6;
inline constexpr std::uint8_t kPrivateMngrMode = 1u << 7;

// A named bit of a flag word.
struct FlagBit {
    const char* name;
    int bit;
};

// Capability flags of the limits block, in the order the profile lists them.
inline constexpr std::array<FlagBit, 23> kCapabilityFlags = {{
    {"mngr_mode_en", 14},          {"see_all_groups_en", 13},    {"vibracall_dis", 12},
    {"public_scan_en", 11},        {"prvt_call_rec_dis", 10},    {"sms_compose_mesgs_en", 9},
    {"sms_free_form_mesgs_en", 8}, {"sms_mesgs_rx_en", 23},      {"sms_mesgs_tx_en", 22},
    {"prvt_call_ret_en", 21},      {"prvt_call_tx_en", 20},      {"call_forward_en", 19},
    {"add_prvt_contacts_en", 18},  {"add_prvt_grp_en", 17},      {"tx_tot_en", 16},
    {"ota_clone_rx_en", 31},       {"remote_disable_rx_en", 30}, {"remote_monitor_rx_en", 29},
    {"ota_time_update_rx_en", 28}, {"ota_clone_tx_en", 27},      {"remote_disable_en", 26},
    {"remote_monitor_en", 25},     {"ota_time_update_en", 24},
}};
inline constexpr int kCapMngrModeEn = 14;
inline constexpr int kCapSeeAllGroupsEn = 13;

// Settings flags of the settings block, in the order the profile lists them.
inline constexpr std::array<FlagBit, 12> kSettingsFlags = {{
    {"time_format", 31},
    {"date_format", 30},
    {"see_all_grps", 29},
    {"scan_en", 28},
    {"alarm_en", 27},
    {"mngr_mode", 26},
    {"call_fwd_en", 25},
    {"is_disabled", 24},
    {"prog_mode_dis", 18},
    {"internal_ptt_dis", 17},
    {"tx_timeout_timer_dis", 19},
    {"priv_grp_call_rep_dis", 22},
}};
inline constexpr int kSetSeeAllGrps = 29;
inline constexpr int kSetMngrMode = 26;

constexpr bool TestBit(std::uint32_t word, int bit) {
    return (word >> bit) & 1u;
}
constexpr void PutBit(std::uint32_t& word, int bit, bool on) {
    word = on ? (word | (1u << bit)) : (word & ~(1u << bit));
}
constexpr void PutBit(std::uint8_t& byte, std::uint8_t mask, bool on) {
    byte = static_cast<std::uint8_t>(on ? (byte | mask) : (byte & ~mask));
}

struct CVersionBlock {
    std::uint8_t firmware_phase = 'R';  // 'R' release firmware, 'D' otherwise
    std::int8_t firmware_release = 94;
    std::int8_t firmware_version = 8;
    std::int8_t firmware_revision = 0;
    std::int8_t codeplug_structure = 3;
    std::int8_t codeplug_version = 16;
    std::int8_t codeplug_dev_version = 5;

    bool operator==(const CVersionBlock&) const = default;
};

struct CPublicGroupRange {
    std::u16string start_pid;  // the range covers list_size PIDs counting down from here
    std::u16string name;
    std::uint8_t list_size = 0;

    bool operator==(const CPublicGroupRange&) const = default;
};

struct CRadioLimits {
    std::u16string pid;
    std::u16string valid_PID_start = u"10000001";
    std::u16string valid_PID_end = u"17179867883";
    std::array<CPublicGroupRange, kPublicGroupRanges> public_grp_info = {{
        {u"17179869183", u"", 100},
        {u"0", u"", 0},
        {u"0", u"", 0},
        {u"0", u"", 0},
    }};
    std::u16string model;  // up to 4 characters
    std::uint8_t clone_compatibility_version = 0;
    std::uint8_t max_num_of_contacts = 0;
    std::uint8_t max_num_of_private_grps = 0;
    std::uint8_t max_num_of_public_grps = 0;
    std::uint8_t max_num_of_predefined_msgs = 0;
    std::uint32_t capability_flags = 0;
    std::uint32_t extra_capability = 0;  // from the radio only; no profile carries it
    std::uint8_t num_of_languages = 0;
    std::array<std::uint8_t, kMaxLanguages> languages{};
    std::uint8_t max_num_of_channels = 0;
    std::uint8_t max_vol_level = 0;

    bool operator==(const CRadioLimits&) const = default;
};

struct CRadioSettings {
    std::uint8_t contrast = 0;
    std::uint32_t backlight = 0;
    std::uint8_t vibracall = 0;
    std::uint32_t current_time = 0;  // local clock seconds since 1970-01-01 00:00
    std::uint32_t alarm_time = 0;
    std::uint8_t ringer_vol_level = 0;
    std::uint8_t speaker_vol_level = 1;
    std::uint8_t keypad_vol_level = 0;
    std::uint8_t alarm_vol_level = 1;
    std::uint8_t earpiece_vol_level = 1;
    std::uint8_t language = 0;
    std::uint32_t settings_flags = 0;
    std::u16string call_forward_id = u"0";
    std::u16string password;        // up to 4 characters
    std::uint8_t noise_levels = 0;  // high nibble accessory, low nibble radio
    std::uint8_t tot_timer = 0;
    std::uint8_t tpt_offset = 0;

    std::uint8_t NoiseLevelAccessory() const { return noise_levels >> 4; }
    std::uint8_t NoiseLevelRadio() const { return noise_levels & 0x0F; }

    bool operator==(const CRadioSettings&) const = default;
};

struct CContactRecord {
    std::u16string name;
    std::uint8_t alert_tone = 0;
    std::u16string pid;
    std::uint8_t contact_flags = 0;
    std::uint8_t private_flags = 0;
    std::uint8_t channel = 0;
    std::uint8_t cntct_type = kContactEmpty;
    std::array<std::u16string, kMaxParentGroups> parent_groups;
    std::u16string home_grp;
    std::uint8_t group_count = 0;
    std::uint8_t home_group_position = 0;  // 1-based, in the radio's group list

    // In use when it has both a name and a PID.
    bool InUse() const { return !name.empty() && !pid.empty(); }
    bool operator==(const CContactRecord&) const = default;
};

struct CContactCounters {
    std::int32_t contacts = 0;
    std::int32_t public_groups = 0;
    std::int32_t private_groups = 0;
    std::int32_t messages = 0;

    bool operator==(const CContactCounters&) const = default;
};

class CVirtualCodeplug {
  public:
    CVersionBlock version;
    CRadioLimits limits;
    CRadioSettings settings;
    std::array<CContactRecord, kMaxContacts> contacts;
    std::array<std::u16string, kMaxTexts> texts;
    CContactCounters counters;

    // Copies a contact record field by field.
    static void CopyContact(CContactRecord& to, const CContactRecord& from) { to = from; }

    // Index of the first record in use whose type matches typeFilter (-1: any) and whose PID equals
    // pid exactly; -1 if none. Without a PID the radio's own PID is looked for.
    int FindContactByPid(std::u16string_view pid, int typeFilter = -1) const;
    int FindOwnContact(int typeFilter = -1) const {
        return FindContactByPid(limits.pid, typeFilter);
    }

    // Recomputes the four counters.
    void Count();

    // After a read: the radio's own private contact takes its manager-mode and see-all-groups bits
    // from the settings (where the radio supports them).
    void OwnRecordFromSettings();
    // Before a write: the settings take manager mode and see-all-groups from the own record.
    void SettingsFromOwnRecord();

    bool operator==(const CVirtualCodeplug&) const = default;
};
