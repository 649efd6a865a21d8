#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "CHelpPaneSetting.h"
#include "CRegionSetting.h"
#include "CUpDownGradeSetting.h"
#include "DataFile.h"
#include "LoadSettingDoc.h"
#include "TextCodec.h"
#include "Utility.h"

namespace {

namespace fs = std::filesystem;

const fs::path kData = QMVVLT_SOURCE_DATA_DIR;

class ShippedData : public testing::Test {
  protected:
    void SetUp() override { Utility::SetInstallPathOverride(kData); }
    void TearDown() override { Utility::SetInstallPathOverride(std::nullopt); }
};

// The text of a data file as the program reads it, with the plain marker of its kind.
DataFileText ReadPlain(const fs::path& file, std::u16string_view marker) {
    DataFileText data = ReadDataFile(file);
    UnscrambleUnlessPlain(data.text, data.narrow, marker);
    return data;
}

TEST_F(ShippedData, EveryDataFileRoundTripsThroughScramblingInBothForms) {
    std::string pattern = (fs::temp_directory_path() / "qmvvlt-roundtrip-XXXXXX");
    const fs::path dir = mkdtemp(pattern.data());
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kData)) {
        const std::string ext = entry.path().extension().string();
        const bool rules = ext == ".lua";
        if (!entry.is_regular_file() ||
            (!rules && ext != ".stv" && ext != ".xml" && ext != ".xsd" && ext != ".lam")) {
            continue;
        }
        const std::u16string_view marker = rules ? kRuleFilePlainMarker : kXmlPlainMarker;
        // The shipped files are plain text.
        const DataFileText original = ReadPlain(entry.path(), marker);
        ASSERT_TRUE(BeginsWithMarker(original.text, marker)) << entry.path();
        const std::string utf8 = Utf16ToUtf8(original.text);
        for (bool narrow : {false, true}) {
            bool lossless = true;
            const std::string bytes = EncodeDataFile(utf8, narrow, true, &lossless);
            if (narrow && !lossless) {
                continue;  // text beyond code page 1252 has only the wide form
            }
            const fs::path copy = dir / "copy";
            std::ofstream(copy, std::ios::binary) << bytes;
            EXPECT_FALSE(BeginsWithMarker(ReadDataFile(copy).text, marker)) << entry.path();
            const DataFileText back = ReadPlain(copy, marker);
            EXPECT_EQ(back.text, original.text) << entry.path() << " narrow=" << narrow;
            EXPECT_EQ(back.narrow, narrow);
            if (ext == ".stv") {
                EXPECT_NO_THROW(LoadSettingDocFile(copy)) << entry.path();
            }
        }
        ++checked;
    }
    fs::remove_all(dir);
    EXPECT_GE(checked, 3);
}

TEST_F(ShippedData, RegionIsLacrWithTheSevenLanguages) {
    const CRegionSetting region = CRegionSetting::Load();
    EXPECT_EQ(region.RegionName(), "LACR");
    std::vector<std::string> names;
    for (const auto& language : region.SupportLanguages()) {
        names.push_back(language.name);
        EXPECT_NE(region.DisplayName(language.name).value_or(" "), " ");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"English", "CaFrench", "French", "German",
                                               "LaPortuguese", "LaSpanish", "Spanish"}));
}

TEST_F(ShippedData, HelpMapCoversEveryEditingView) {
    const CHelpPaneSetting help = CHelpPaneSetting::Load();
    for (const char* view :
         {"CRadioInfoView", "CSettingsView", "CTextMessagesView", "CTextMessageView",
          "CContactsView", "CPublicGroupsView", "CPrivateGroupsView", "CPrivatesView",
          "CPublicGroupView", "CPrivateGroupView", "CPrivateView", "CListsView", "CScrollListView",
          "CScanListView", "CScanChannelView"}) {
        const xmlNode* section =
            CXPath(help.Document()).SelectFirst(std::string("//dfns:") + view + "/dfns:map");
        EXPECT_TRUE(section) << view;
    }
    EXPECT_TRUE(help.PageName("CPublicGroupView", "1053").has_value());
}

TEST_F(ShippedData, FirmwareVersionsGiveTheirGroups) {
    const CUpDownGradeSetting settings = CUpDownGradeSetting::Load();
    const struct {
        const char* version;
        int group;
    } cases[] = {{"R5E.01.00", 1}, {"R5E.02.05", 1}, {"R5E.03.00", 2}, {"D5E.05.10", 2},
                 {"R5E.06.00", 3}, {"R5E.08.00", 3}, {"R5E.08.63", 3}, {"R5E.09.00", 0},
                 {"R5D.08.00", 0}, {"R01.02.03", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(settings.GetModelGroup(c.version), c.group) << c.version;
    }
    // The upgrade writes the newest release, which the radio link accepts (5E, version <= 8).
    EXPECT_EQ(settings.UpgradeVersion(kLatestModelGroup), "5E.08.00");
    EXPECT_EQ(settings.VersionGroups(), (std::vector<int>{1, 2, 3}));
}

std::map<std::string, CodePlugEntry> ByName(const std::vector<CodePlugEntry>& entries,
                                            const std::string& kind) {
    std::map<std::string, CodePlugEntry> map;
    for (const CodePlugEntry& e : entries) {
        if (e.kind == kind) {
            map.emplace(e.name, e);
        }
    }
    return map;
}

TEST_F(ShippedData, EveryProfileAttributeAndElementBelongsToAGroup) {
    const CUpDownGradeSetting settings = CUpDownGradeSetting::Load();
    const auto base = settings.CodePlugEntries(1, "RegionCommon");
    const auto fields = ByName(base, "CPField");
    const auto tags = ByName(base, "CPTag");
    std::vector<std::string> attributes = {"firmware_phase",
                                           "firmware_release",
                                           "firmware_version",
                                           "firmware_revision",
                                           "codeplug_version",
                                           "codeplug_structure",
                                           "codeplug_dev_version",
                                           "pid",
                                           "valid_PID_start",
                                           "valid_PID_end",
                                           "starting_public_grp_pid",
                                           "public_grp_list_size",
                                           "model",
                                           "clone_compatibility_version",
                                           "max_num_of_contacts",
                                           "max_num_of_private_grps",
                                           "max_num_of_public_grps",
                                           "max_num_of_predefined_msgs",
                                           "max_num_of_channels",
                                           "max_vol_level",
                                           "num_of_languages",
                                           "mngr_mode_en",
                                           "see_all_groups_en",
                                           "vibracall_dis",
                                           "public_scan_en",
                                           "prvt_call_rec_dis",
                                           "sms_compose_mesgs_en",
                                           "sms_free_form_mesgs_en",
                                           "sms_mesgs_rx_en",
                                           "sms_mesgs_tx_en",
                                           "prvt_call_ret_en",
                                           "prvt_call_tx_en",
                                           "call_forward_en",
                                           "add_prvt_contacts_en",
                                           "add_prvt_grp_en",
                                           "tx_tot_en",
                                           "ota_clone_rx_en",
                                           "remote_disable_rx_en",
                                           "remote_monitor_rx_en",
                                           "ota_time_update_rx_en",
                                           "ota_clone_tx_en",
                                           "remote_disable_en",
                                           "remote_monitor_en",
                                           "ota_time_update_en",
                                           "static_ergo_flag2",
                                           "language_id",
                                           "password",
                                           "contrast",
                                           "backlight",
                                           "vibracall",
                                           "tot_timer",
                                           "current_time",
                                           "alarm_time",
                                           "ringer_vol_level",
                                           "speaker_vol_level",
                                           "keypad_vol_level",
                                           "alarm_vol_level",
                                           "earpiece_vol_level",
                                           "language",
                                           "call_forward_id",
                                           "tpt_offset",
                                           "noise_level_accessory",
                                           "noise_level_radio",
                                           "time_format",
                                           "date_format",
                                           "see_all_grps",
                                           "scan_en",
                                           "alarm_en",
                                           "mngr_mode",
                                           "call_fwd_en",
                                           "is_disabled",
                                           "prog_mode_dis",
                                           "internal_ptt_dis",
                                           "tx_timeout_timer_dis",
                                           "priv_grp_call_rep_dis",
                                           "cntct_type",
                                           "name",
                                           "channel",
                                           "in_scan_list",
                                           "in_scroll_list",
                                           "alert_tone",
                                           "home_grp",
                                           "show_grp_only",
                                           "id_in_use",
                                           "see_all_groups",
                                           "private_scroll_list",
                                           "txt"};
    for (int i = 0; i < 4; ++i) {
        for (const char* stem : {"public_grp_info_start_pid", "public_grp_info_pid_name",
                                 "public_grp_info_lst_size"}) {
            attributes.push_back(stem + std::to_string(i));
        }
    }
    for (const std::string& a : attributes) {
        ASSERT_TRUE(fields.count(a)) << a;
        EXPECT_FALSE(fields.at(a).nodename.empty()) << a;
        EXPECT_TRUE(fields.at(a).isExist == "0" || fields.at(a).isExist == "1") << a;
    }
    for (const char* element :
         {"version", "limit", "languages", "language", "setting", "Contacts", "PublicGroups",
          "PrivateGroups", "Privates", "PublicGroup", "PrivateGroup", "Private",
          "ParentPrivateGroups", "ParentPrivateGroup", "scrolllist", "list", "TextMessages",
          "TextMessage"}) {
        ASSERT_TRUE(tags.count(element)) << element;
        EXPECT_FALSE(tags.at(element).parentNode.empty()) << element;
    }
    // The newer names of range 0 take the older names' values.
    EXPECT_EQ(fields.at("public_grp_info_start_pid0").replaceby, "starting_public_grp_pid");
    EXPECT_EQ(fields.at("public_grp_info_lst_size0").replaceby, "public_grp_list_size");
}

// What a group has after its entries are laid over the base group's, as the group settings merge
// builds it.
std::map<std::string, std::string> FieldsOfGroup(const CUpDownGradeSetting& settings, int group) {
    std::map<std::string, std::string> exist;
    for (int g : {1, group}) {
        for (const char* section : {"LACR", "RegionCommon"}) {
            for (const CodePlugEntry& e : settings.CodePlugEntries(g, section)) {
                exist[e.kind + ":" + e.name] = e.isExist;
            }
        }
    }
    return exist;
}

TEST_F(ShippedData, GroupsDifferWhereTheRadiosDo) {
    const CUpDownGradeSetting settings = CUpDownGradeSetting::Load();
    const auto g1 = FieldsOfGroup(settings, 1);
    const auto g2 = FieldsOfGroup(settings, 2);
    const auto g3 = FieldsOfGroup(settings, 3);
    // Group 1: no private scroll lists; only groups above 2 have a codeplug password.
    EXPECT_EQ(g1.at("CPField:private_scroll_list"), "0");
    EXPECT_EQ(g1.at("CPTag:scrolllist"), "0");
    EXPECT_EQ(g2.at("CPField:private_scroll_list"), "1");
    EXPECT_EQ(g2.at("CPTag:scrolllist"), "1");
    EXPECT_EQ(g2.at("CPField:password"), "0");
    EXPECT_EQ(g3.at("CPField:password"), "1");
    // A later group keeps what an earlier one has, or its own profiles would lose those fields
    // on saving.
    for (const CodePlugEntry& e : settings.CodePlugEntries(2, "RegionCommon")) {
        if (e.isExist == "1") {
            EXPECT_EQ(g3.at(e.kind + ":" + e.name), "1") << e.name;
        }
    }
}

TEST_F(ShippedData, ControlsOfFieldsAreNotAlsoListedAsVisible) {
    // The group settings merge stops when a field's control is already in the visible settings.
    const CUpDownGradeSetting settings = CUpDownGradeSetting::Load();
    std::set<std::pair<std::string, int>> listed;
    for (int g : {1, 2, 3}) {
        for (const char* section : {"RegionCommon", "LACR"}) {
            for (const char* view :
                 {"RadioInfo", "Settings", "TextMsgs", "TextMsgX", "Contacts", "PublicGroups",
                  "PrivateGroups", "Privates", "PublicGroupX", "PrivateGroupX", "PrivateX", "Lists",
                  "Scroll", "ScanList", "ChannelX"}) {
                for (const VisibleControl& c : settings.VisibleControls(g, section, view)) {
                    listed.emplace(view, c.id);
                }
            }
        }
    }
    EXPECT_GT(listed.size(), 100u);
    int attached = 0;
    for (int g : {1, 2, 3}) {
        for (const CodePlugEntry& e : settings.CodePlugEntries(g, "RegionCommon")) {
            for (const CodePlugControl& c : e.controls) {
                EXPECT_FALSE(listed.count({c.rightView, c.id})) << e.name << " " << c.id;
                ++attached;
            }
        }
    }
    EXPECT_GT(attached, 0);
}

TEST_F(ShippedData, VisibleSettingsOfEveryGroupHaveEveryView) {
    const CUpDownGradeSetting settings = CUpDownGradeSetting::Load();
    const CXPath xpath(settings.Document());
    for (int g : {1, 2, 3}) {
        for (const char* view :
             {"RadioInfo", "Settings", "TextMsgs", "TextMsgX", "Contacts", "PublicGroups",
              "PrivateGroups", "Privates", "PublicGroupX", "PrivateGroupX", "PrivateX", "Lists",
              "Scroll", "ScanList", "ChannelX"}) {
            EXPECT_TRUE(xpath.SelectFirst("//dfns:VisibleSetting/dfns:G" + std::to_string(g) +
                                          "/dfns:RegionCommon/dfns:" + view))
                << g << " " << view;
        }
    }
}

}  // namespace
