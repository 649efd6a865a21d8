#pragma once

#include <array>
#include <string>
#include <string_view>

class CRadioDataModel;

// The contacts CSV: a header row, then one contact per row. Columns by name, in any order; only
// type and name are required. Public groups carry their group number in id, the others their PID;
// home_group and group_1..group_5 name groups; the flags are 0 or 1.
namespace ContactCsv {
inline constexpr const char* kType = "type";
inline constexpr const char* kName = "name";
inline constexpr const char* kId = "id";
inline constexpr const char* kChannel = "channel";
inline constexpr const char* kHomeGroup = "home_group";
inline constexpr std::array<const char*, 5> kGroups = {"group_1", "group_2", "group_3", "group_4",
                                                       "group_5"};
// Flag and number columns with the profile attribute each one carries.
struct Column {
    const char* name;
    const char* attribute;
};
inline constexpr Column kScrollList = {"scroll_list", "in_scroll_list"};
inline constexpr Column kScanList = {"scan_list", "in_scan_list"};
inline constexpr Column kRinger = {"ringer", "alert_tone"};
inline constexpr std::array<Column, 4> kPrivateFlags = {{{"group_only", "show_grp_only"},
                                                         {"id_in_use", "id_in_use"},
                                                         {"see_all_groups", "see_all_groups"},
                                                         {"manager_mode", "mngr_mode"}}};

// The type column's words, and the profile element of each kind.
struct Kind {
    const char* word;
    const char* element;
    const char* list;
};
inline constexpr std::array<Kind, 3> kKinds = {{{"public group", "PublicGroup", "PublicGroups"},
                                                {"private group", "PrivateGroup", "PrivateGroups"},
                                                {"private", "Private", "Privates"}}};
}  // namespace ContactCsv

// The profile's contacts as contacts CSV (UTF-8 with its byte-order mark, CRLF line ends): public
// groups, private groups and private contacts, each in profile order.
std::string ExportContactsCsv(const CRadioDataModel& model);
