#include <gtest/gtest.h>

#include "CDataAdaptor.h"
#include "CProfileWriter.h"
#include "FullProfile.h"
#include "TextCount.h"

namespace {

// Attribute lines as the writer lays them out: CR LF TAB before each.
std::string Lines(std::initializer_list<std::pair<const char*, const char*>> attributes) {
    std::string out;
    for (const auto& [name, value] : attributes) {
        out += std::string("\r\n\t") + name + "=\"" + value + "\"";
    }
    return out;
}

const char* const kHead =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?>"
    "<QMVProfile xmlns=\"urn:varentis:qmv-vlt:profile\">";

const char* const kFreshVersion =
    "\r\n\t<version\r\n\tfirmware_phase=\"R\"\r\n\tfirmware_release=\"94\"\r\n\t"
    "firmware_version=\"8\"\r\n\tfirmware_revision=\"0\"\r\n\tcodeplug_version=\"16\"\r\n\t"
    "codeplug_structure=\"3\"\r\n\tcodeplug_dev_version=\"5\"\r\n\t/>";

std::string FreshLimit() {
    return "\r\n\t<limit" +
           Lines({{"pid", ""},
                  {"valid_PID_start", "10000001"},
                  {"valid_PID_end", "17179867883"},
                  {"starting_public_grp_pid", "17179869183"},
                  {"public_grp_list_size", "100"},
                  {"public_grp_info_start_pid0", "17179869183"},
                  {"public_grp_info_pid_name0", ""},
                  {"public_grp_info_lst_size0", "100"},
                  {"public_grp_info_start_pid1", "0"},
                  {"public_grp_info_pid_name1", ""},
                  {"public_grp_info_lst_size1", "0"},
                  {"public_grp_info_start_pid2", "0"},
                  {"public_grp_info_pid_name2", ""},
                  {"public_grp_info_lst_size2", "0"},
                  {"public_grp_info_start_pid3", "0"},
                  {"public_grp_info_pid_name3", ""},
                  {"public_grp_info_lst_size3", "0"},
                  {"model", ""},
                  {"clone_compatibility_version", "0"},
                  {"max_num_of_contacts", "0"},
                  {"max_num_of_private_grps", "0"},
                  {"max_num_of_public_grps", "0"},
                  {"max_num_of_predefined_msgs", "0"},
                  {"max_num_of_channels", "0"},
                  {"max_vol_level", "0"},
                  {"num_of_languages", "0"},
                  {"mngr_mode_en", "0"},
                  {"see_all_groups_en", "0"},
                  {"vibracall_dis", "0"},
                  {"public_scan_en", "0"}}) +
           "\r\n\tprvt_call_rec_dis =\"0\"" +
           Lines({{"sms_compose_mesgs_en", "0"},
                  {"sms_free_form_mesgs_en", "0"},
                  {"sms_mesgs_rx_en", "0"},
                  {"sms_mesgs_tx_en", "0"},
                  {"prvt_call_ret_en", "0"},
                  {"prvt_call_tx_en", "0"},
                  {"call_forward_en", "0"},
                  {"add_prvt_contacts_en", "0"},
                  {"add_prvt_grp_en", "0"},
                  {"tx_tot_en", "0"},
                  {"ota_clone_rx_en", "0"},
                  {"remote_disable_rx_en", "0"},
                  {"remote_monitor_rx_en", "0"},
                  {"ota_time_update_rx_en", "0"},
                  {"ota_clone_tx_en", "0"},
                  {"remote_disable_en", "0"},
                  {"remote_monitor_en", "0"},
                  {"ota_time_update_en", "0"},
                  {"static_ergo_flag2", "0"}}) +
           ">\r\n\t<languages>\r\n\t</languages>\r\n\t</limit>";
}

std::string FreshSetting() {
    return "\r\n\t<setting" +
           Lines({{"password", ""},
                  {"contrast", "0"},
                  {"backlight", "0"},
                  {"vibracall", "0"},
                  {"tot_timer", "0"},
                  {"current_time", "0"},
                  {"alarm_time", "0"},
                  {"ringer_vol_level", "0"},
                  {"speaker_vol_level", "1"},
                  {"keypad_vol_level", "0"},
                  {"alarm_vol_level", "1"},
                  {"earpiece_vol_level", "1"},
                  {"language", "0"},
                  {"call_forward_id", "0"},
                  {"tpt_offset", "0"},
                  {"noise_level_accessory", "0"},
                  {"noise_level_radio", "0"},
                  {"time_format", "0"},
                  {"date_format", "0"},
                  {"see_all_grps", "0"},
                  {"scan_en", "0"},
                  {"alarm_en", "0"},
                  {"mngr_mode", "0"},
                  {"call_fwd_en", "0"},
                  {"is_disabled", "0"},
                  {"prog_mode_dis", "0"},
                  {"internal_ptt_dis", "0"},
                  {"tx_timeout_timer_dis", "0"},
                  {"priv_grp_call_rep_dis", "0"}}) +
           "\r\n\t/>\n\r";
}

std::string Write(const CVirtualCodeplug& image) {
    std::string text = "left over";
    EXPECT_EQ(CProfileWriter::VirtualCP2XML(image, text), 1);
    return text;
}

}  // namespace

TEST(ProfileWriter, FreshImageGivesTheExactEmptyProfile) {
    const std::string expected = kHead + std::string(kFreshVersion) + FreshLimit() +
                                 FreshSetting() +
                                 "\n\r<Contacts> <PublicGroups></PublicGroups><PrivateGroups>"
                                 "</PrivateGroups><Privates></Privates></Contacts>"
                                 "\r\n<TextMessages>\r\n\t</TextMessages></QMVProfile>";
    EXPECT_EQ(Write(CVirtualCodeplug{}), expected);
}

TEST(ProfileWriter, EveryContactKindIsWrittenExactly) {
    CVirtualCodeplug image;
    CContactRecord& pub = image.contacts[0];
    pub = {.name = u"Fire & Rescue",
           .pid = u"17179869183",
           .contact_flags = 0x0A,
           .channel = 2,
           .cntct_type = kContactPublicGroup};
    CContactRecord& empty = image.contacts[1];  // a type-0 record with no name is still written
    empty.cntct_type = kContactPrivate;
    CContactRecord& grp = image.contacts[2];
    grp = {.name = u"<Crew>",
           .pid = u"10001000",
           .contact_flags = 0x02,
           .channel = 7,
           .cntct_type = kContactPrivateGroup};
    image.contacts[3] = {.name = u"Ghost", .pid = u"1", .cntct_type = 9};  // unknown type: skipped
    CContactRecord& priv = image.contacts[4];
    priv = {.name = u"Zo\u00eb \"Z\"",
            .alert_tone = 3,
            .pid = u"10000005",
            .contact_flags = 0x05,
            .private_flags = 0x80,
            .channel = 1,
            .cntct_type = kContactPrivate,
            .parent_groups = {u"10001000", u"", u"", u"10001003", u""},
            .home_grp = u"10001003"};
    image.texts[2] = u"Back at 5 & <ok>";
    image.texts[0] = u"First";

    const std::string publicGroups = "\r\n\t<PublicGroup" +
                                     Lines({{"cntct_type", "2"},
                                            {"name", "Fire &amp; Rescue"},
                                            {"pid", "17179869183"},
                                            {"channel", "2"},
                                            {"in_scan_list", "1"},
                                            {"in_scroll_list", "1"}}) +
                                     "\r\n\t/>";
    const std::string privateGroups = "\r\n\t<PrivateGroup" +
                                      Lines({{"cntct_type", "1"},
                                             {"name", "&lt;Crew&gt;"},
                                             {"pid", "10001000"},
                                             {"channel", "7"},
                                             {"in_scroll_list", "1"}}) +
                                      "\r\n\t/>";
    const std::string emptyPrivate =
        "\r\n\t<Private" +
        Lines({{"cntct_type", "0"},
               {"name", ""},
               {"pid", ""},
               {"channel", "0"},
               {"in_scroll_list", "0"},
               {"alert_tone", "0"},
               {"home_grp", ""},
               {"show_grp_only", "0"},
               {"id_in_use", "0"},
               {"see_all_groups", "0"},
               {"mngr_mode", "0"},
               {"private_scroll_list", "0"}}) +
        "><ParentPrivateGroups></ParentPrivateGroups><scrolllist/></Private>";
    const std::string fullPrivate =
        "\r\n\t<Private" +
        Lines({{"cntct_type", "0"},
               {"name", "Zo\xC3\xAB &quot;Z&quot;"},
               {"pid", "10000005"},
               {"channel", "1"},
               {"in_scroll_list", "0"},
               {"alert_tone", "3"},
               {"home_grp", "10001003"},
               {"show_grp_only", "1"},
               {"id_in_use", "1"},
               {"see_all_groups", "0"},
               {"mngr_mode", "1"},
               {"private_scroll_list", "0"}}) +
        "><ParentPrivateGroups><ParentPrivateGroup pid =\"10001000\" />"
        "<ParentPrivateGroup pid =\"10001003\" /></ParentPrivateGroups><scrolllist/></Private>";
    const std::string expected =
        kHead + std::string(kFreshVersion) + FreshLimit() + FreshSetting() +
        "\n\r<Contacts> <PublicGroups>" + publicGroups + "</PublicGroups><PrivateGroups>" +
        privateGroups + "</PrivateGroups><Privates>" + emptyPrivate + fullPrivate +
        "</Privates></Contacts>\r\n<TextMessages>\r\n\t<TextMessage txt=\"First\" />"
        "\r\n\t<TextMessage txt=\"Back at 5 &amp; &lt;ok&gt;\" />\r\n\t</TextMessages>"
        "</QMVProfile>";
    EXPECT_EQ(Write(image), expected);
}

TEST(ProfileWriter, EscapingCoversTheFourMarkupCharactersOnly) {
    struct Case {
        std::u16string in;
        const char* out;
    };
    const Case cases[] = {
        {u"a&b", "a&amp;b"},
        {u"&lt;", "&amp;lt;"},  // ampersand first: no double escaping
        {u"<>\"'", "&lt;&gt;&quot;'"},
        {u"", ""},
        {u"\u00e9\u20ac", "\xC3\xA9\xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapeAttribute(c.in), c.out);
    }
}

TEST(ProfileWriter, LanguageListNeverReadsPastItsSixEntries) {
    struct Case {
        std::uint8_t count;
        std::size_t expectedEntries;
    };
    for (const Case c : {Case{0, 0}, Case{2, 2}, Case{6, 6}, Case{200, 6}}) {
        CVirtualCodeplug image;
        image.limits.languages = {11, 12, 13, 14, 15, 16};
        image.limits.num_of_languages = c.count;
        const std::string text = Write(image);
        EXPECT_EQ(CountOccurrences(text, "<language language_id="), c.expectedEntries)
            << int(c.count);
        if (c.count == 2) {
            EXPECT_NE(text.find("<languages>\r\n\t<language language_id=\"11\" />\r\n\t"
                                "<language language_id=\"12\" />\r\n\t</languages>"),
                      std::string::npos);
        }
    }
}

TEST(ProfileWriter, CapabilityBitsBecomeTheirOwnAttributes) {
    CVirtualCodeplug image;
    image.limits.capability_flags = 1u << 28;
    const std::string text = Write(image);
    EXPECT_NE(text.find("\r\n\tota_time_update_rx_en=\"1\""), std::string::npos);
    EXPECT_NE(text.find("\r\n\tota_time_update_en=\"0\""), std::string::npos);
}

TEST(ProfileWriter, ImageSurvivesProfileAndBack) {
    const CVirtualCodeplug original = MakeFullImage();
    CVirtualCodeplug back;
    CDataAdaptor::XML2VirtualCP(Write(original), back, u"");
    EXPECT_EQ(back, original);

    // Version bytes are signed: -1 travels as 4294967295 and comes back as -1.
    CVirtualCodeplug negative;
    negative.version = {'D', -1, -128, 127, -2, 0, -100};
    const std::string text = Write(negative);
    EXPECT_NE(text.find("firmware_release=\"4294967295\""), std::string::npos);
    EXPECT_NE(text.find("firmware_version=\"4294967168\""), std::string::npos);
    CVirtualCodeplug negativeBack;
    CDataAdaptor::XML2VirtualCP(text, negativeBack, u"");
    EXPECT_EQ(negativeBack.version, negative.version);
}
