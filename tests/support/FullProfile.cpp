#include "FullProfile.h"

#include <algorithm>
#include <string>

namespace {

std::u16string U(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace

CVirtualCodeplug MakeFullImage() {
    CVirtualCodeplug image;
    image.version = {'R', 94, 8, 2, 3, 16, 5};
    CRadioLimits& l = image.limits;
    l.pid = u"10000005";
    l.public_grp_info[1] = {u"17179869000", u"Bank B", 50};
    l.public_grp_info[2] = {u"17179868000", u"Fire & Rescue", 20};
    l.model = u"Q410";
    l.clone_compatibility_version = 10;
    l.max_num_of_contacts = 150;
    l.max_num_of_private_grps = 40;
    l.max_num_of_public_grps = 30;
    l.max_num_of_predefined_msgs = 25;
    l.capability_flags = 0xFFFF7F00u;  // every named capability set
    l.num_of_languages = 6;
    l.languages = {1, 2, 3, 4, 5, 6};
    l.max_num_of_channels = 7;
    l.max_vol_level = 8;
    CRadioSettings& s = image.settings;
    s.contrast = 5;
    s.backlight = 30;
    s.vibracall = 1;
    s.current_time = 1234567890;
    s.alarm_time = 25200;
    s.ringer_vol_level = 3;
    s.speaker_vol_level = 4;
    s.keypad_vol_level = 2;
    s.alarm_vol_level = 6;
    s.earpiece_vol_level = 7;
    s.language = 2;
    s.settings_flags = 0xFF4E0000u;  // every named settings flag set
    s.call_forward_id = u"10000009";
    s.password = u"1234";
    s.noise_levels = 0x9A;
    s.tot_timer = 60;
    s.tpt_offset = 3;

    std::size_t index = 0;
    for (int i = 0; i < 20; ++i) {
        CContactRecord& c = image.contacts[index++];
        c.cntct_type = kContactPublicGroup;
        c.name = U("Public <" + std::to_string(i) + ">");
        c.pid = U(std::to_string(17179869183LL - i));
        c.channel = static_cast<std::uint8_t>(1 + i % 7);
        c.contact_flags = static_cast<std::uint8_t>((i % 2 ? kFlagInScanList : 0) |
                                                    (i % 3 ? kFlagInScrollList : 0));
    }
    for (int i = 0; i < 30; ++i) {
        CContactRecord& c = image.contacts[index++];
        c.cntct_type = kContactPrivateGroup;
        c.name = U("Group \"" + std::to_string(i) + "\"");
        c.pid = U(std::to_string(10001000 + i));
        c.channel = static_cast<std::uint8_t>(1 + i % 7);
        c.contact_flags = i % 2 ? kFlagInScrollList : 0;
    }
    for (int i = 0; i < 100; ++i) {
        CContactRecord& c = image.contacts[index++];
        c.cntct_type = kContactPrivate;
        c.name = (i % 10 == 0) ? u"Zo\u00eb & J\u00fcrgen " + U(std::to_string(i))
                               : U("Private 'No' " + std::to_string(i));
        c.pid = U(std::to_string(10000001 + i * 3));
        c.channel = static_cast<std::uint8_t>(1 + i % 7);
        c.alert_tone = static_cast<std::uint8_t>(i % 4);
        c.contact_flags = static_cast<std::uint8_t>(i % 16 & ~kFlagInScanList);
        c.private_flags = static_cast<std::uint8_t>((i % 4) << 6);
        for (int g = 0; g < i % 6; ++g) {
            c.parent_groups[static_cast<std::size_t>(g)] = U(std::to_string(10001000 + g));
        }
        if (i % 6) {
            c.home_grp = c.parent_groups[0];
        }
    }
    for (int i = 0; i < kMaxTexts; ++i) {
        image.texts[static_cast<std::size_t>(i)] =
            U("Message " + std::to_string(i) + ": meet at <gate> & wait \"here\"");
    }
    return image;
}

CVirtualCodeplug MakeRuleConsistentFullImage() {
    CVirtualCodeplug image = MakeFullImage();
    // Private group j is on channel 1 + j % 7: its channel's groups are j, j + 7, j + 14, ...
    constexpr int kPrivateGroups = 30;
    constexpr int kChannels = 7;
    for (CContactRecord& c : image.contacts) {
        if (c.cntct_type != kContactPrivate) {
            continue;
        }
        const int wanted =
            static_cast<int>(std::count_if(c.parent_groups.begin(), c.parent_groups.end(),
                                           [](const auto& g) { return !g.empty(); }));
        c.parent_groups = {};
        int count = 0;
        for (int j = c.channel - 1; j < kPrivateGroups && count < wanted; j += kChannels) {
            c.parent_groups[static_cast<std::size_t>(count++)] = U(std::to_string(10001000 + j));
        }
        c.home_grp = count ? c.parent_groups[0] : std::u16string();
        c.alert_tone = static_cast<std::uint8_t>(1 + c.alert_tone % 12);
    }
    return image;
}

std::string MakeProfile(const ProfilePieces& p) {
    std::string limit = "<limit pid=\"" + p.pid +
                        "\" valid_PID_start=\"10000001\" valid_PID_end=\"17179867883\""
                        " starting_public_grp_pid=\"17179869183\" public_grp_list_size=\"100\"";
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i);
        limit += " public_grp_info_start_pid" + n + "=\"" + (i ? "0" : "17179869183") + "\"";
        limit += " public_grp_info_pid_name" + n + "=\"\"";
        limit += " public_grp_info_lst_size" + n + "=\"" + (i ? "0" : "100") + "\"";
    }
    limit +=
        " model=\"Q410\" clone_compatibility_version=\"10\" max_num_of_contacts=\"150\""
        " max_num_of_private_grps=\"40\" max_num_of_public_grps=\"30\""
        " max_num_of_predefined_msgs=\"25\" max_num_of_channels=\"7\" max_vol_level=\"8\"";
    if (p.limitExtra.find("num_of_languages") == std::string::npos) {
        limit += " num_of_languages=\"1\"";
    }
    for (const char* flag :
         {"mngr_mode_en",           "see_all_groups_en",    "vibracall_dis",
          "public_scan_en",         "prvt_call_rec_dis",    "sms_compose_mesgs_en",
          "sms_free_form_mesgs_en", "sms_mesgs_rx_en",      "sms_mesgs_tx_en",
          "prvt_call_ret_en",       "prvt_call_tx_en",      "call_forward_en",
          "add_prvt_contacts_en",   "add_prvt_grp_en",      "tx_tot_en",
          "ota_clone_rx_en",        "remote_disable_rx_en", "remote_monitor_rx_en",
          "ota_time_update_rx_en",  "ota_clone_tx_en",      "remote_disable_en",
          "remote_monitor_en",      "ota_time_update_en"}) {
        limit += std::string(" ") + flag + "=\"0\"";
    }
    limit += " static_ergo_flag2=\"0\" " + p.limitExtra + "><languages>" + p.languages +
             "</languages></limit>";
    std::string setting =
        "<setting password=\"\" contrast=\"0\" backlight=\"0\" vibracall=\"0\" tot_timer=\"0\""
        " current_time=\"0\" alarm_time=\"0\" ringer_vol_level=\"0\" speaker_vol_level=\"1\""
        " keypad_vol_level=\"0\" alarm_vol_level=\"1\" earpiece_vol_level=\"1\" language=\"0\""
        " call_forward_id=\"0\" tpt_offset=\"0\" noise_level_accessory=\"0\""
        " noise_level_radio=\"0\"";
    for (const char* flag : {"time_format", "date_format", "see_all_grps", "scan_en", "alarm_en",
                             "mngr_mode", "call_fwd_en", "is_disabled", "prog_mode_dis",
                             "internal_ptt_dis", "tx_timeout_timer_dis", "priv_grp_call_rep_dis"}) {
        setting += std::string(" ") + flag + "=\"0\"";
    }
    setting += "/>";
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
           "<QMVProfile xmlns=\"urn:varentis:qmv-vlt:profile\">\n"
           "<version firmware_phase=\"R\" firmware_release=\"94\" firmware_version=\"8\""
           " firmware_revision=\"0\" codeplug_version=\"16\" codeplug_structure=\"3\""
           " codeplug_dev_version=\"5\"/>\n" +
           limit + "\n" + setting + "\n<Contacts><PublicGroups>" + p.publicGroups +
           "</PublicGroups><PrivateGroups>" + p.privateGroups + "</PrivateGroups><Privates>" +
           p.privates + "</Privates></Contacts>\n<TextMessages>" + p.texts +
           "</TextMessages></QMVProfile>\n";
}

std::string PublicGroupXml(std::string_view name, std::string_view pid, int channel, int inScan,
                           int inScroll) {
    return "<PublicGroup cntct_type=\"2\" name=\"" + std::string(name) + "\" pid=\"" +
           std::string(pid) + "\" channel=\"" + std::to_string(channel) + "\" in_scan_list=\"" +
           std::to_string(inScan) + "\" in_scroll_list=\"" + std::to_string(inScroll) + "\"/>";
}

std::string PrivateGroupXml(std::string_view name, std::string_view pid, int channel,
                            int inScroll) {
    return "<PrivateGroup cntct_type=\"1\" name=\"" + std::string(name) + "\" pid=\"" +
           std::string(pid) + "\" channel=\"" + std::to_string(channel) + "\" in_scroll_list=\"" +
           std::to_string(inScroll) + "\"/>";
}

std::string PrivateXml(std::string_view name, std::string_view pid, std::string_view inner,
                       std::string_view extraAttributes, int inScroll) {
    std::string attrs = std::string(extraAttributes);
    auto add = [&](const char* attr, const char* value) {
        if (attrs.find(std::string(attr) + "=") == std::string::npos) {
            attrs += std::string(" ") + attr + "=\"" + value + "\"";
        }
    };
    add("cntct_type", "0");
    add("channel", "1");
    add("alert_tone", "0");
    add("home_grp", "");
    add("show_grp_only", "0");
    add("id_in_use", "0");
    add("see_all_groups", "0");
    add("mngr_mode", "0");
    add("private_scroll_list", "0");
    return "<Private name=\"" + std::string(name) + "\" pid=\"" + std::string(pid) +
           "\" in_scroll_list=\"" + std::to_string(inScroll) + "\"" + attrs + ">" +
           (inner.empty() ? "<ParentPrivateGroups/><scrolllist/>" : std::string(inner)) +
           "</Private>";
}
