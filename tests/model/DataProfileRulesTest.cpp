// The shipped rule file, exercised through data items the way the editing views call it.

#include <gtest/gtest.h>
#include <libxml/xmlschemas.h>
#include <libxml/xpathInternals.h>

#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CDataItem.h"
#include "CSchemaInfo.h"
#include "CScriptEngine.h"
#include "MessageId.h"
#include "XmlDom.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string kRulePath = QMVVLT_SOURCE_DATA_DIR "/ProfileTemplate/DataProfile.lua";
const std::string kSchemaPath = QMVVLT_SOURCE_DATA_DIR "/ProfileTemplate/DataProfile.xsd";

// Message-box styles the views receive with a message.
constexpr int kRefusalStyle = 0x30;  // OK, exclamation
constexpr int kConfirmStyle = 0x21;  // OK and Cancel, question
constexpr int kInfoStyle = 0x40;     // OK, information
// Button codes a view passes back as the confirmed flag.
constexpr int kNotConfirmed = 0;
constexpr int kOk = 1;
constexpr int kCancel = 2;

// --- profile text ------------------------------------------------------------------------------

using Overrides = std::map<std::string, std::string>;

std::string LimitXml(const Overrides& overrides) {
    std::vector<std::pair<std::string, std::string>> attrs = {
        {"pid", "10000009"},
        {"valid_PID_start", "10000001"},
        {"valid_PID_end", "17179867883"},
        {"starting_public_grp_pid", "17179869183"},
        {"public_grp_list_size", "100"},
        {"public_grp_info_start_pid0", "17179869183"},
        {"public_grp_info_pid_name0", "Site"},
        {"public_grp_info_lst_size0", "100"},
        {"public_grp_info_start_pid1", "17179869000"},
        {"public_grp_info_pid_name1", "Yard"},
        {"public_grp_info_lst_size1", "5"},
        {"public_grp_info_start_pid2", "0"},
        {"public_grp_info_pid_name2", ""},
        {"public_grp_info_lst_size2", "0"},
        {"public_grp_info_start_pid3", "0"},
        {"public_grp_info_pid_name3", ""},
        {"public_grp_info_lst_size3", "0"},
        {"model", "Q410"},
        {"clone_compatibility_version", "10"},
        {"max_num_of_contacts", "150"},
        {"max_num_of_private_grps", "40"},
        {"max_num_of_public_grps", "30"},
        {"max_num_of_predefined_msgs", "25"},
        {"max_num_of_channels", "7"},
        {"max_vol_level", "8"},
        {"num_of_languages", "1"},
    };
    for (const char* flag :
         {"mngr_mode_en",           "see_all_groups_en",    "vibracall_dis",
          "public_scan_en",         "prvt_call_rec_dis",    "sms_compose_mesgs_en",
          "sms_free_form_mesgs_en", "sms_mesgs_rx_en",      "sms_mesgs_tx_en",
          "prvt_call_ret_en",       "prvt_call_tx_en",      "call_forward_en",
          "add_prvt_contacts_en",   "add_prvt_grp_en",      "tx_tot_en",
          "ota_clone_rx_en",        "remote_disable_rx_en", "remote_monitor_rx_en",
          "ota_time_update_rx_en",  "ota_clone_tx_en",      "remote_disable_en",
          "remote_monitor_en",      "ota_time_update_en",   "static_ergo_flag2"}) {
        const std::string name = flag;
        const bool on = name == "public_scan_en" || name == "sms_compose_mesgs_en" ||
                        name == "sms_mesgs_tx_en" || name == "add_prvt_contacts_en" ||
                        name == "add_prvt_grp_en";
        attrs.emplace_back(name, on ? "1" : "0");
    }
    std::string xml = "<limit";
    for (const auto& [name, value] : attrs) {
        const auto o = overrides.find(name);
        xml += " " + name + "=\"" + (o == overrides.end() ? value : o->second) + "\"";
    }
    return xml + "><languages><language language_id=\"0\"/></languages></limit>";
}

std::string PublicGroup(const std::string& name, const std::string& pid, int channel, int inScan) {
    return "<PublicGroup cntct_type=\"2\" name=\"" + name + "\" pid=\"" + pid + "\" channel=\"" +
           std::to_string(channel) + "\" in_scan_list=\"" + std::to_string(inScan) +
           "\" in_scroll_list=\"0\"/>";
}

std::string PrivateGroup(const std::string& name, const std::string& pid, int channel) {
    return "<PrivateGroup cntct_type=\"1\" name=\"" + name + "\" pid=\"" + pid + "\" channel=\"" +
           std::to_string(channel) + "\" in_scroll_list=\"0\"/>";
}

struct PrivateSpec {
    std::string name;
    std::string pid;
    int channel = 1;
    std::string home;
    std::vector<std::string> groups;
    std::vector<std::string> scroll;
    int idInUse = 1;
};

std::string Private(const PrivateSpec& p) {
    std::string xml = "<Private cntct_type=\"0\" name=\"" + p.name + "\" pid=\"" + p.pid +
                      "\" channel=\"" + std::to_string(p.channel) +
                      "\" in_scroll_list=\"0\" alert_tone=\"1\" home_grp=\"" + p.home +
                      "\" show_grp_only=\"0\" id_in_use=\"" + std::to_string(p.idInUse) +
                      "\" see_all_groups=\"0\" mngr_mode=\"0\" private_scroll_list=\"" +
                      (p.scroll.empty() ? "0" : "1") + "\"><ParentPrivateGroups>";
    for (const auto& g : p.groups) {
        xml += "<ParentPrivateGroup pid=\"" + g + "\"/>";
    }
    xml += "</ParentPrivateGroups><scrolllist>";
    for (const auto& s : p.scroll) {
        xml += "<list name=\"" + s + "\"/>";
    }
    return xml + "</scrolllist></Private>";
}

struct ProfileSpec {
    std::string publicGroups;
    std::string privateGroups;
    std::string privates;
    std::string texts;
    Overrides limit;
};

std::string ProfileXml(const ProfileSpec& p) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n"
           "<QMVProfile xmlns=\"urn:varentis:qmv-vlt:profile\">"
           "<version firmware_phase=\"R\" firmware_release=\"94\" firmware_version=\"8\""
           " firmware_revision=\"0\" codeplug_version=\"16\" codeplug_structure=\"3\""
           " codeplug_dev_version=\"5\"/>" +
           LimitXml(p.limit) +
           "<setting password=\"\" contrast=\"5\" backlight=\"10000\" vibracall=\"0\""
           " tot_timer=\"60\" current_time=\"0\" alarm_time=\"25200\" ringer_vol_level=\"4\""
           " speaker_vol_level=\"5\" keypad_vol_level=\"2\" alarm_vol_level=\"5\""
           " earpiece_vol_level=\"4\" language=\"0\" call_forward_id=\"0\" tpt_offset=\"0\""
           " noise_level_accessory=\"3\" noise_level_radio=\"5\" time_format=\"1\""
           " date_format=\"0\" see_all_grps=\"0\" scan_en=\"1\" alarm_en=\"0\" mngr_mode=\"0\""
           " call_fwd_en=\"0\" is_disabled=\"0\" prog_mode_dis=\"0\" internal_ptt_dis=\"0\""
           " tx_timeout_timer_dis=\"0\" priv_grp_call_rep_dis=\"0\"/>"
           "<Contacts><PublicGroups>" +
           p.publicGroups + "</PublicGroups><PrivateGroups>" + p.privateGroups +
           "</PrivateGroups><Privates>" + p.privates + "</Privates></Contacts><TextMessages>" +
           p.texts + "</TextMessages></QMVProfile>\n";
}

// PIDs of the office profile.
const std::string kDispatch = "17179869183";  // public, channel 1, in the scan list
const std::string kYard = "17179869182";      // public, channel 2
const std::string kDayShift = "10001000";     // private group, channel 1: Ana and Bruno
const std::string kNightShift = "10001001";   // private group, channel 1: Ana only
const std::string kAna = "10000002";          // channel 1, home Day Shift, scroll list: Dispatch
const std::string kBruno = "10000003";        // channel 1, no home group
const std::string kCarla = "10000004";        // channel 2, home Yard, scroll list: Ana, Night Shift
const std::string kSpare = "10005000";        // channel 1, ID not in use

// Four privates, two private groups, two public groups and two texts.
ProfileSpec Office() {
    ProfileSpec p;
    p.publicGroups = PublicGroup("Dispatch", kDispatch, 1, 1) + PublicGroup("Yard", kYard, 2, 0);
    p.privateGroups =
        PrivateGroup("Day Shift", kDayShift, 1) + PrivateGroup("Night Shift", kNightShift, 1);
    p.privates = Private({"Ana", kAna, 1, kDayShift, {kDayShift, kNightShift}, {"Dispatch"}}) +
                 Private({"Bruno", kBruno, 1, "", {kDayShift}, {}}) +
                 Private({"Carla", kCarla, 2, kYard, {}, {"Ana", "Night Shift"}}) +
                 Private({"Spare", kSpare, 1, "", {}, {}, 0});
    p.texts = "<TextMessage txt=\"Call the office\"/><TextMessage txt=\"On my way\"/>";
    return p;
}

std::string ContactPath(const std::string& pid) {
    return "//dfns:*[@cntct_type and @pid='" + pid + "']";
}

// --- fixture -----------------------------------------------------------------------------------

using Answer = RuleResult;

}  // namespace

std::ostream& operator<<(std::ostream& out, const RuleResult& a) {
    return out << "{result " << a.result << ", message " << a.messageId << ", style " << a.style
               << "}";
}

namespace {

const Answer kAccepted{0, 0, 0};

Answer Refused(int message) {
    return {1, message, kRefusalStyle};
}
Answer Asks(int message) {
    return {2, message, kConfirmStyle};
}

class RulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string rules = ReadFile(kRulePath);
        ASSERT_TRUE(CScriptEngine::IsPlainRuleText(rules));
        engine.SetErrorReporter([this](const std::string& t) { reports.push_back(t); });
        engine.LoadScript(rules);
        std::string error;
        schemaDoc = ParseXmlSafely(ReadFile(kSchemaPath), &error);
        ASSERT_TRUE(schemaDoc) << error;
        schema = CSchemaInfo(schemaDoc.get());
        Load(Office());
    }

    void TearDown() override {
        EXPECT_TRUE(reports.empty()) << reports.front();
        engine.ReleaseDetachedNodes();
    }

    void Load(const ProfileSpec& spec) {
        engine.ReleaseDetachedNodes();
        std::string error;
        doc = ParseXmlSafely(ProfileXml(spec), &error, XML_PARSE_NOBLANKS);
        ASSERT_TRUE(doc) << error;
    }

    xmlNode* Node(const std::string& xpath) { return CXPath(doc.get()).SelectFirst(xpath); }
    int Count(const std::string& xpath) {
        return static_cast<int>(CXPath(doc.get()).SelectNodes(xpath).size());
    }
    // The attribute's value, or "(none)" when the element or the attribute is missing.
    std::string Attr(const std::string& xpath, const char* name) {
        return GetAttribute(Node(xpath), name).value_or("(none)");
    }
    std::vector<std::string> Names(const std::string& xpath, const char* attr = "name") {
        std::vector<std::string> names;
        for (xmlNode* n : CXPath(doc.get()).SelectNodes(xpath)) {
            names.push_back(GetAttribute(n, attr).value_or("(none)"));
        }
        return names;
    }
    CDataItem Item(const std::string& xpath) {
        xmlNode* node = Node(xpath);
        EXPECT_NE(node, nullptr) << xpath;
        return CDataItem(&engine, &schema, node);
    }
    Answer Set(const std::string& xpath, const char* attr, const CScriptValue& value,
               int confirmed = kNotConfirmed) {
        return Item(xpath).SetAttributeValue(attr, value, confirmed);
    }
    Answer SetText(const std::string& xpath, const char* attr, const std::string& value,
                   int confirmed = kNotConfirmed) {
        return Set(xpath, attr, ScriptText(value), confirmed);
    }
    Answer Remove(const std::string& listXpath, int index, int confirmed = kNotConfirmed) {
        return Item(listXpath).RemoveChildByIndex(index, confirmed);
    }
    // Validates the profile against the shipped schema.
    std::string SchemaErrors() {
        XmlDocPtr xsd = ParseXmlSafely(ReadFile(kSchemaPath));
        if (!xsd) {
            return "schema does not parse";
        }
        std::unique_ptr<xmlSchemaParserCtxt, decltype(&xmlSchemaFreeParserCtxt)> parser(
            xmlSchemaNewDocParserCtxt(xsd.get()), xmlSchemaFreeParserCtxt);
        std::unique_ptr<xmlSchema, decltype(&xmlSchemaFree)> compiled(xmlSchemaParse(parser.get()),
                                                                      xmlSchemaFree);
        if (!compiled) {
            return "schema does not compile";
        }
        std::unique_ptr<xmlSchemaValidCtxt, decltype(&xmlSchemaFreeValidCtxt)> valid(
            xmlSchemaNewValidCtxt(compiled.get()), xmlSchemaFreeValidCtxt);
        std::string errors;
        xmlSchemaSetValidStructuredErrors(
            valid.get(),
            [](void* out, xmlErrorPtr e) {
                *static_cast<std::string*>(out) += e && e->message ? e->message : "error";
            },
            &errors);
        if (xmlSchemaValidateDoc(valid.get(), doc.get()) != 0 && errors.empty()) {
            errors = "invalid";
        }
        return errors;
    }

    CScriptEngine engine;
    XmlDocPtr schemaDoc;
    CSchemaInfo schema;
    XmlDocPtr doc;
    std::vector<std::string> reports;
};

// --- the annotations the rule file answers --------------------------------------------------

TEST_F(RulesTest, SchemaNamesTheRuleFunctionsForEachDeclaration) {
    struct Row {
        const char* element;  // XPath of an element of the office profile
        const char* attribute;
        const char* event;
        const char* function;
    };
    const std::string pub = ContactPath(kDispatch);
    const std::string grp = ContactPath(kDayShift);
    const std::string prv = ContactPath(kAna);
    const Row rows[] = {
        {"//dfns:PublicGroups", nullptr, "CanAddChild", "CanAddPublicGroup"},
        {"//dfns:PublicGroups", nullptr, "OnAddNew", "AddPublicGroup"},
        {"//dfns:PrivateGroups", nullptr, "CanAddChild", "CanAddPrivateGroup"},
        {"//dfns:PrivateGroups", nullptr, "OnAddNew", "AddPrivateGroup"},
        {"//dfns:PrivateGroups", nullptr, "IsEnabled", "IsPrivateGroupsEnabled"},
        {"//dfns:Privates", nullptr, "CanAddChild", "CanAddPrivate"},
        {"//dfns:Privates", nullptr, "OnAddNew", "AddPrivate"},
        {"//dfns:Privates", nullptr, "IsEnabled", "IsPrivatesEnabled"},
        {pub.c_str(), nullptr, "OnDelete", "DeleteContact"},
        {pub.c_str(), "name", "SetVal", "SetContactName"},
        {pub.c_str(), "pid", "SetVal", "SetContactPid"},
        {pub.c_str(), "channel", "SetVal", "SetContactChannel"},
        {pub.c_str(), "in_scan_list", "SetVal", "SetInScanList"},
        {grp.c_str(), nullptr, "OnDelete", "DeleteContact"},
        {grp.c_str(), "name", "SetVal", "SetContactName"},
        {grp.c_str(), "pid", "SetVal", "SetContactPid"},
        {grp.c_str(), "channel", "SetVal", "SetContactChannel"},
        {prv.c_str(), nullptr, "OnDelete", "DeleteContact"},
        {prv.c_str(), "name", "SetVal", "SetContactName"},
        {prv.c_str(), "pid", "SetVal", "SetContactPid"},
        {prv.c_str(), "channel", "SetVal", "SetContactChannel"},
        {prv.c_str(), "home_grp", "SetVal", "SetHomeGroup"},
        {"//dfns:ParentPrivateGroups", nullptr, "CanAddChild", "CanAddParentGroup"},
        {"//dfns:ParentPrivateGroups", nullptr, "OnAddNew", "AddParentGroup"},
        {"//dfns:ParentPrivateGroup", nullptr, "OnDelete", "DeleteParentGroup"},
        {"//dfns:ParentPrivateGroup", "pid", "SetVal", "SetParentGroupPid"},
        {"//dfns:scrolllist", nullptr, "CanAddChild", "CanAddScrollListEntry"},
        {"//dfns:scrolllist", nullptr, "OnAddNew", "AddScrollListEntry"},
        {"//dfns:list", nullptr, "OnDelete", "DeleteScrollListEntry"},
        {"//dfns:TextMessages", nullptr, "CanAddChild", "CanAddTextMessage"},
        {"//dfns:TextMessages", nullptr, "OnAddNew", "AddTextMessage"},
        {"//dfns:TextMessages", nullptr, "IsEnabled", "IsTextMessagesEnabled"},
        {"//dfns:TextMessage", nullptr, "OnDelete", "DeleteTextMessage"},
        {"//dfns:TextMessage", nullptr, "Check", "CheckTextMessage"},
        {"//dfns:TextMessages", nullptr, "LabelSuffix", "ListLabelSuffix"},
        {"//dfns:TextMessages", nullptr, "Check", "CheckList"},
        {"//dfns:Contacts", nullptr, "Check", "CheckList"},
        {pub.c_str(), nullptr, "Check", "CheckContact"},
        {grp.c_str(), nullptr, "Check", "CheckContact"},
        {prv.c_str(), nullptr, "Check", "CheckContact"},
        {"//dfns:TextMessage", "txt", "SetVal", "SetTextMessage"},
        {"//dfns:setting", "password", "SetVal", "SetPassword"},
        {"//dfns:setting", "language", "SetVal", "SetLanguage"},
        {"//dfns:setting", "ringer_vol_level", "SetVal", "SetVolumeLevel"},
        {"//dfns:setting", "speaker_vol_level", "SetVal", "SetVolumeLevel"},
        {"//dfns:setting", "keypad_vol_level", "SetVal", "SetVolumeLevel"},
        {"//dfns:setting", "alarm_vol_level", "SetVal", "SetVolumeLevel"},
        {"//dfns:setting", "earpiece_vol_level", "SetVal", "SetVolumeLevel"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.element) + " " + (row.attribute ? row.attribute : "") + " " +
                     row.event);
        xmlNode* element = Node(row.element);
        ASSERT_NE(element, nullptr);
        const xmlNode* declared =
            row.attribute
                ? reinterpret_cast<xmlNode*>(xmlHasNsProp(element, BAD_CAST row.attribute, nullptr))
                : element;
        ASSERT_NE(declared, nullptr);
        EXPECT_EQ(schema.Handler(declared, row.event), std::optional<std::string>(row.function));
        EXPECT_TRUE(engine.HasFunction(row.function));
    }
}

TEST_F(RulesTest, EveryHandlerTheSchemaNamesIsDefined) {
    XPathContextPtr ctx(xmlXPathNewContext(schemaDoc.get()));
    xmlXPathRegisterNs(ctx.get(), BAD_CAST "cvlt", BAD_CAST kScriptExtensionNamespaceUri);
    XPathObjectPtr found(xmlXPathEvalExpression(BAD_CAST "//cvlt:SchemaExtension/@*", ctx.get()));
    ASSERT_TRUE(found && found->nodesetval);
    ASSERT_GT(found->nodesetval->nodeNr, 0);
    for (int i = 0; i < found->nodesetval->nodeNr; ++i) {
        XmlCharPtr name(xmlNodeGetContent(found->nodesetval->nodeTab[i]));
        const std::string function = reinterpret_cast<const char*>(name.get());
        EXPECT_TRUE(engine.HasFunction(function)) << function;
    }
}

TEST_F(RulesTest, OfficeProfileIsValid) {
    EXPECT_EQ(SchemaErrors(), "");
}

// --- names -------------------------------------------------------------------------------------

TEST_F(RulesTest, NamesHaveOneToTwentyRadioCharactersAndAreUniqueInNameOrder) {
    struct Case {
        std::string pid;
        std::string name;
        Answer expected;
    };
    const Case cases[] = {
        {kBruno, "Bruno Costa", kAccepted},
        {kBruno, "", Refused(10055)},
        {kBruno, "ABCDEFGHIJKLMNOPQRST", kAccepted},
        {kBruno, "ABCDEFGHIJKLMNOPQRSTU", Refused(30100)},
        // Twenty characters, forty bytes: the length counts characters.
        {kBruno,
         "\u00c0\u00c9\u00ce\u00d5\u00dc\u00e0\u00e9\u00ee\u00f5\u00fc\u00e7\u00f1\u00ff"
         "\u00c6\u00d8\u00df\u00e6\u00f8\u00e5\u00c5",
         kAccepted},
        {kBruno, "J\u00fcrgen M\u00fcller", kAccepted},
        {kBruno, "\u03a9mega", Refused(218)},
        {kBruno, "\u20acuro", Refused(218)},
        {kBruno, "Tab\there", Refused(218)},
        {kBruno, "ana", Refused(127)},
        {kBruno, "\u00c1NA", Refused(127)},   // Á sorts as A
        {kBruno, "\u00c6na", kAccepted},      // Æ has a weight of its own
        {kBruno, "Ana ", kAccepted},          // a blank is a character of the name
        {kBruno, "day SHIFT", Refused(127)},  // private group
        {kBruno, "DISPATCH", Refused(127)},   // public group
        {kAna, "ANA", kAccepted},             // the contact itself does not count
        {kDayShift, "Bruno", Refused(127)},   // a group may not take a private's name
        {kDispatch, "night shift", Refused(127)},
        {kYard, "Yard 2", kAccepted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pid + " <- '" + c.name + "'");
        Load(Office());
        const std::string before = Attr(ContactPath(c.pid), "name");
        EXPECT_EQ(SetText(ContactPath(c.pid), "name", c.name), c.expected);
        EXPECT_EQ(Attr(ContactPath(c.pid), "name"), c.expected.result == 0 ? c.name : before);
    }
}

TEST_F(RulesTest, RenamingAContactRenamesThePrivateScrollListEntriesNamingIt) {
    const std::string carlaList = ContactPath(kCarla) + "/dfns:scrolllist/dfns:list";
    EXPECT_EQ(SetText(ContactPath(kAna), "name", "Anabel"), kAccepted);
    EXPECT_EQ(SetText(ContactPath(kNightShift), "name", "Late Shift"), kAccepted);
    EXPECT_EQ(Names(carlaList), (std::vector<std::string>{"Anabel", "Late Shift"}));
    EXPECT_EQ(SetText(ContactPath(kDispatch), "name", "Control"), kAccepted);
    EXPECT_EQ(Names(ContactPath(kAna) + "/dfns:scrolllist/dfns:list"),
              (std::vector<std::string>{"Control"}));
    // A refused rename leaves the entries alone.
    EXPECT_EQ(SetText(ContactPath(kAna), "name", "bruno"), Refused(127));
    EXPECT_EQ(Names(carlaList), (std::vector<std::string>{"Anabel", "Late Shift"}));
}

// --- PIDs --------------------------------------------------------------------------------------

TEST_F(RulesTest, PidsAreUniqueAndComeFromTheRangeOfTheirKind) {
    struct Case {
        std::string pid;
        CScriptValue value;
        Answer expected;
        std::string stored;  // empty: as given
    };
    const Case cases[] = {
        {kBruno, ScriptText("10000001"), kAccepted, ""},
        {kBruno, ScriptText("17179867883"), kAccepted, ""},  // valid_PID_end itself
        {kBruno, ScriptInteger(10000077), kAccepted, "10000077"},
        {kBruno, ScriptText(kAna), Refused(132), ""},
        {kBruno, ScriptText(kDayShift), Refused(132), ""},    // Bruno's ID is in use
        {kBruno, ScriptText(kDispatch), Refused(30101), ""},  // a public group's, not private
        {kBruno, ScriptText("17179867884"), Refused(30101), ""},
        {kBruno, ScriptText("10000000"), Refused(30101), ""},
        {kBruno, ScriptText("010000005"), Refused(30101), ""},
        {kBruno, ScriptText("1000000a"), Refused(30101), ""},
        {kBruno, ScriptText(""), Refused(30101), ""},
        {kSpare, ScriptText(kNightShift), kAccepted, ""},  // an unused ID may serve a group
        {kNightShift, ScriptText(kSpare), kAccepted, ""},
        {kNightShift, ScriptText(kBruno), Refused(132), ""},
        {kNightShift, ScriptText(kDayShift), Refused(132), ""},
        {kNightShift, ScriptText("17179869100"), Refused(30101), ""},
        {kYard, ScriptText("17179869181"), kAccepted, ""},
        {kYard, ScriptText("17179869000"), kAccepted, ""},  // first ID of bank 1
        {kYard, ScriptText("17179868996"), kAccepted, ""},  // last ID of bank 1
        {kYard, ScriptText("17179868995"), Refused(30102), ""},
        {kYard, ScriptText("17179869083"), Refused(30102), ""},  // just below bank 0
        {kYard, ScriptText(kDispatch), Refused(132), ""},
        {kYard, ScriptText("10000050"), Refused(30102), ""},
    };
    for (const Case& c : cases) {
        const std::string given = ScriptToText(c.value);
        SCOPED_TRACE(c.pid + " <- '" + given + "'");
        Load(Office());
        const std::string name = Attr(ContactPath(c.pid), "name");
        EXPECT_EQ(Set(ContactPath(c.pid), "pid", c.value), c.expected);
        const std::string expectedPid =
            c.expected.result != 0 ? c.pid : (c.stored.empty() ? given : c.stored);
        EXPECT_EQ(Attr("//dfns:*[@cntct_type and @name='" + name + "']", "pid"), expectedPid);
    }
}

TEST_F(RulesTest, GroupsKeepTheirMembersAndHomeGroupsWhenTheirPidChanges) {
    EXPECT_EQ(SetText(ContactPath(kDayShift), "pid", "10000001"), kAccepted);
    EXPECT_EQ(Names(ContactPath(kAna) + "//dfns:ParentPrivateGroup", "pid"),
              (std::vector<std::string>{"10000001", kNightShift}));
    EXPECT_EQ(Names(ContactPath(kBruno) + "//dfns:ParentPrivateGroup", "pid"),
              (std::vector<std::string>{"10000001"}));
    EXPECT_EQ(Attr(ContactPath(kAna), "home_grp"), "10000001");

    EXPECT_EQ(SetText(ContactPath(kYard), "pid", "17179869181"), kAccepted);
    EXPECT_EQ(Attr(ContactPath(kCarla), "home_grp"), "17179869181");
}

// --- channels ----------------------------------------------------------------------------------

TEST_F(RulesTest, PublicGroupInAScanListMovesToTheNewChannelsListAfterConfirmation) {
    const std::string dispatch = ContactPath(kDispatch);
    ASSERT_EQ(SetText(ContactPath(kBruno), "home_grp", kDispatch), kAccepted);
    EXPECT_EQ(Set(dispatch, "channel", ScriptInteger(2)), Asks(133));
    EXPECT_EQ(Attr(dispatch, "channel"), "1");
    EXPECT_EQ(Set(dispatch, "channel", ScriptInteger(2), kCancel), Asks(133));
    EXPECT_EQ(Attr(dispatch, "channel"), "1");
    EXPECT_EQ(Set(dispatch, "channel", ScriptInteger(2), kOk), kAccepted);
    EXPECT_EQ(Attr(dispatch, "channel"), "2");
    EXPECT_EQ(Attr(dispatch, "in_scan_list"), "1");
    EXPECT_EQ(Attr(ContactPath(kBruno), "home_grp"), "");
}

TEST_F(RulesTest, PublicGroupOutsideScanListsMovesAtOnceAndLeavesForeignHomeGroups) {
    EXPECT_EQ(Set(ContactPath(kYard), "channel", ScriptInteger(3)), kAccepted);
    EXPECT_EQ(Attr(ContactPath(kYard), "channel"), "3");
    EXPECT_EQ(Attr(ContactPath(kYard), "in_scan_list"), "0");
    // Carla stays on channel 2, where Yard no longer is.
    EXPECT_EQ(Attr(ContactPath(kCarla), "home_grp"), "");
}

TEST_F(RulesTest, PublicGroupMovedToAChannelWithAFullScanListLeavesAllScanLists) {
    ProfileSpec p = Office();
    for (int i = 0; i < 10; ++i) {
        p.publicGroups +=
            PublicGroup("Scan " + std::to_string(i), std::to_string(17179869170LL - i), 3, 1);
    }
    Load(p);
    const std::string dispatch = ContactPath(kDispatch);
    ASSERT_EQ(SetText(ContactPath(kBruno), "home_grp", kDispatch), kAccepted);
    EXPECT_EQ(Set(dispatch, "channel", ScriptInteger(3)), (Answer{1, 134, kInfoStyle}));
    EXPECT_EQ(Attr(dispatch, "channel"), "3");
    EXPECT_EQ(Attr(dispatch, "in_scan_list"), "0");
    EXPECT_EQ(Attr(ContactPath(kBruno), "home_grp"), "");  // Bruno stays on channel 1
    EXPECT_EQ(Count("//dfns:PublicGroup[@channel='3' and @in_scan_list='1']"), 10);
    // The view repeats the commit after the user pressed OK.
    EXPECT_EQ(Set(dispatch, "channel", ScriptInteger(3), kOk), kAccepted);
    EXPECT_EQ(Attr(dispatch, "channel"), "3");
}

TEST_F(RulesTest, PrivateGroupChannelChangeRemovesItsMembersAfterConfirmation) {
    const std::string night = ContactPath(kNightShift);
    EXPECT_EQ(SetText(ContactPath(kBruno), "home_grp", kNightShift), kAccepted);
    EXPECT_EQ(Set(night, "channel", ScriptInteger(2)), Asks(136));
    EXPECT_EQ(Attr(night, "channel"), "1");
    EXPECT_EQ(Count("//dfns:ParentPrivateGroup[@pid='" + kNightShift + "']"), 1);

    EXPECT_EQ(Set(night, "channel", ScriptInteger(2), kOk), kAccepted);
    EXPECT_EQ(Attr(night, "channel"), "2");
    EXPECT_EQ(Count("//dfns:ParentPrivateGroup[@pid='" + kNightShift + "']"), 0);
    EXPECT_EQ(Names(ContactPath(kAna) + "//dfns:ParentPrivateGroup", "pid"),
              (std::vector<std::string>{kDayShift}));
    EXPECT_EQ(Attr(ContactPath(kBruno), "home_grp"), "");
    EXPECT_EQ(Attr(ContactPath(kAna), "home_grp"), kDayShift);

    // Without members there is nothing to confirm.
    EXPECT_EQ(Set(night, "channel", ScriptInteger(1)), kAccepted);
    EXPECT_EQ(Attr(night, "channel"), "1");
}

TEST_F(RulesTest, PrivateGroupCannotMoveToAChannelWithoutAvailablePrivates) {
    EXPECT_EQ(Set(ContactPath(kDayShift), "channel", ScriptInteger(3), kOk), Refused(135));
    EXPECT_EQ(Attr(ContactPath(kDayShift), "channel"), "1");
    EXPECT_EQ(Count("//dfns:ParentPrivateGroup[@pid='" + kDayShift + "']"), 2);
}

TEST_F(RulesTest, PrivateChannelChangeLeavesGroupsDeletesEmptiedOnesAndClearsTheHomeGroup) {
    const std::string ana = ContactPath(kAna);
    EXPECT_EQ(Set(ana, "channel", ScriptInteger(2)), Asks(137));
    EXPECT_EQ(Attr(ana, "channel"), "1");
    EXPECT_EQ(Count(ana + "//dfns:ParentPrivateGroup"), 2);

    EXPECT_EQ(Set(ana, "channel", ScriptInteger(2), kOk), kAccepted);
    EXPECT_EQ(Attr(ana, "channel"), "2");
    EXPECT_EQ(Attr(ana, "home_grp"), "");
    EXPECT_EQ(Count(ana + "//dfns:ParentPrivateGroup"), 0);
    // Night Shift had only Ana; Day Shift keeps Bruno.
    EXPECT_EQ(Names("//dfns:PrivateGroup"), (std::vector<std::string>{"Day Shift"}));
    EXPECT_EQ(Names(ContactPath(kCarla) + "//dfns:list"), (std::vector<std::string>{"Ana"}));
}

TEST_F(RulesTest, PrivateWithoutGroupsOrHomeGroupChangesChannelAtOnce) {
    EXPECT_EQ(Set(ContactPath(kSpare), "channel", ScriptInteger(4)), kAccepted);
    EXPECT_EQ(Attr(ContactPath(kSpare), "channel"), "4");
}

TEST_F(RulesTest, ChannelsOutsideTheModelAreRefusedAndTheSameChannelChangesNothing) {
    struct Case {
        std::string pid;
        CScriptValue value;
        Answer expected;
    };
    const Case cases[] = {
        {kAna, ScriptInteger(0), Refused(108)},
        {kAna, ScriptInteger(8), Refused(108)},  // max_num_of_channels is 7
        {kDispatch, ScriptText("x"), Refused(108)},
        {kAna, ScriptInteger(1), kAccepted},
        {kNightShift, ScriptText("1"), kAccepted},
        {kDispatch, ScriptInteger(1), kAccepted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pid + " <- " + ScriptToText(c.value));
        Load(Office());
        EXPECT_EQ(Set(ContactPath(c.pid), "channel", c.value), c.expected);
        EXPECT_EQ(Attr(ContactPath(c.pid), "channel"), "1");
        EXPECT_EQ(Count("//dfns:ParentPrivateGroup"), 3);
        EXPECT_EQ(Attr(ContactPath(kDispatch), "in_scan_list"), "1");
    }
}

// --- memberships -------------------------------------------------------------------------------

ProfileSpec FiveGroups(std::vector<std::string> eveGroups) {
    ProfileSpec p;
    for (int i = 1; i <= 6; ++i) {
        p.privateGroups += PrivateGroup("G" + std::to_string(i), std::to_string(10002000 + i), 1);
    }
    p.privateGroups += PrivateGroup("Other Channel", "10002010", 2);
    p.privates = Private({"Eve", "10000020", 1, "", std::move(eveGroups), {}}) +
                 Private({"Finn", "10000021", 2, "", {"10002010"}, {}});
    return p;
}

TEST_F(RulesTest, APrivateJoinsAtMostFiveGroups) {
    Load(FiveGroups({"10002001", "10002002", "10002003", "10002004"}));
    const std::string eveGroups = ContactPath("10000020") + "/dfns:ParentPrivateGroups";
    CDataItem list = Item(eveGroups);
    ASSERT_TRUE(list.CanAddChild());
    auto entry = list.AddNewChild();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->SetAttributeValue("pid", ScriptText("10002005")), kAccepted);
    EXPECT_EQ(Count(eveGroups + "/dfns:ParentPrivateGroup"), 5);
    EXPECT_EQ(SchemaErrors(), "");

    EXPECT_FALSE(list.CanAddChild());
    EXPECT_FALSE(list.AddNewChild());
    EXPECT_EQ(Count(eveGroups + "/dfns:ParentPrivateGroup"), 5);
    // Exchanging one group for another keeps the count.
    EXPECT_EQ(SetText(eveGroups + "/dfns:ParentPrivateGroup[1]", "pid", "10002006"), kAccepted);
    EXPECT_TRUE(Item("//dfns:PrivateGroups").CanAddChild());  // Finn has groups left
    ASSERT_EQ(Remove("//dfns:Privates", 1, kOk), kAccepted);
    EXPECT_EQ(Count(ContactPath("10002010")), 0);  // Finn's only group went with him
    // No private with a group left: a new private group could never get a member.
    EXPECT_FALSE(Item("//dfns:PrivateGroups").CanAddChild());
    EXPECT_FALSE(Item("//dfns:PrivateGroups").AddNewPriGrpPrivate("Group"));
}

TEST_F(RulesTest, MembershipsNameAnotherGroupOfThePrivatesChannel) {
    struct Case {
        std::vector<std::string> groups;  // Eve's entries; the last one is committed
        std::string pid;
        Answer expected;
    };
    const Case cases[] = {
        {{"10002001", "10002002", "10002003", "10002004", "10002005", ""},
         "10002006",
         Refused(140)},
        {{"10002001", ""}, "10002003", kAccepted},
        {{"10002001", ""}, "10002001", Refused(108)},  // already a member
        {{"10002001", ""}, "10002010", Refused(108)},  // a group of channel 2
        {{"10002001", ""}, "10000021", Refused(108)},  // a private, not a group
        {{"10002001", ""}, "10009999", Refused(108)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pid);
        Load(FiveGroups(c.groups));
        const std::string last = ContactPath("10000020") + "//dfns:ParentPrivateGroup[" +
                                 std::to_string(c.groups.size()) + "]";
        EXPECT_EQ(SetText(last, "pid", c.pid), c.expected);
        EXPECT_EQ(Attr(last, "pid"), c.expected.result == 0 ? c.pid : "");
    }
}

// --- deleting ----------------------------------------------------------------------------------

TEST_F(RulesTest, DeletingAPrivateAsksThenRemovesItsGroupsAndScrollListEntries) {
    ASSERT_EQ(Attr("//dfns:Privates/dfns:Private[1]", "pid"), kAna);
    EXPECT_EQ(Remove("//dfns:Privates", 0), Asks(142));
    EXPECT_EQ(Remove("//dfns:Privates", 0, kCancel), Asks(142));
    EXPECT_EQ(Count(ContactPath(kAna)), 1);

    EXPECT_EQ(Remove("//dfns:Privates", 0, kOk), kAccepted);
    EXPECT_EQ(Count(ContactPath(kAna)), 0);
    EXPECT_EQ(Names("//dfns:PrivateGroup"), (std::vector<std::string>{"Day Shift"}));
    EXPECT_EQ(Count(ContactPath(kCarla) + "//dfns:list"), 0);
    EXPECT_EQ(Names("//dfns:ParentPrivateGroup", "pid"), (std::vector<std::string>{kDayShift}));
    EXPECT_EQ(SchemaErrors(), "");
}

TEST_F(RulesTest, DeletingAPrivateWithoutGroupsNeedsNoConfirmation) {
    ASSERT_EQ(Attr("//dfns:Privates/dfns:Private[3]", "pid"), kCarla);
    EXPECT_EQ(Remove("//dfns:Privates", 2), kAccepted);
    EXPECT_EQ(Count(ContactPath(kCarla)), 0);
    EXPECT_EQ(Names("//dfns:PrivateGroup").size(), 2u);
    // Ana's scroll list entry names Dispatch, not Carla.
    EXPECT_EQ(Names(ContactPath(kAna) + "//dfns:list"), (std::vector<std::string>{"Dispatch"}));
}

TEST_F(RulesTest, DeletingAPrivateGroupAsksThenRemovesMembershipsAndHomeGroups) {
    ASSERT_EQ(Attr("//dfns:PrivateGroups/dfns:PrivateGroup[1]", "pid"), kDayShift);
    EXPECT_EQ(Remove("//dfns:PrivateGroups", 0), Asks(141));
    EXPECT_EQ(Count(ContactPath(kDayShift)), 1);

    EXPECT_EQ(Remove("//dfns:PrivateGroups", 0, kOk), kAccepted);
    EXPECT_EQ(Count(ContactPath(kDayShift)), 0);
    EXPECT_EQ(Names(ContactPath(kAna) + "//dfns:ParentPrivateGroup", "pid"),
              (std::vector<std::string>{kNightShift}));
    EXPECT_EQ(Count(ContactPath(kBruno) + "//dfns:ParentPrivateGroup"), 0);
    EXPECT_EQ(Attr(ContactPath(kAna), "home_grp"), "");
    EXPECT_EQ(Count("//dfns:Private"), 4);  // members stay contacts
    EXPECT_EQ(Names(ContactPath(kCarla) + "//dfns:list"),
              (std::vector<std::string>{"Ana", "Night Shift"}));

    // A group without members goes at once, with the scroll list entries naming it.
    ASSERT_EQ(SetText(ContactPath(kNightShift), "channel", "2", kOk), kAccepted);
    EXPECT_EQ(Remove("//dfns:PrivateGroups", 0), kAccepted);
    EXPECT_EQ(Count("//dfns:PrivateGroup"), 0);
    EXPECT_EQ(Names(ContactPath(kCarla) + "//dfns:list"), (std::vector<std::string>{"Ana"}));
}

TEST_F(RulesTest, DeletingAPublicGroupClearsHomeGroupsAndScrollListEntries) {
    EXPECT_EQ(Remove("//dfns:PublicGroups", 1), kAccepted);  // Yard
    EXPECT_EQ(Count(ContactPath(kYard)), 0);
    EXPECT_EQ(Attr(ContactPath(kCarla), "home_grp"), "");
    EXPECT_EQ(Remove("//dfns:PublicGroups", 0), kAccepted);  // Dispatch
    EXPECT_EQ(Count(ContactPath(kAna) + "//dfns:list"), 0);
    EXPECT_EQ(SchemaErrors(), "");
}

TEST_F(RulesTest, MembershipsScrollListEntriesAndTextsAreRemovedAlone) {
    EXPECT_EQ(Remove(ContactPath(kAna) + "/dfns:ParentPrivateGroups", 1), kAccepted);
    EXPECT_EQ(Names(ContactPath(kAna) + "//dfns:ParentPrivateGroup", "pid"),
              (std::vector<std::string>{kDayShift}));
    // Leaving its last member is the group view's business, not a deletion.
    EXPECT_EQ(Count(ContactPath(kNightShift)), 1);

    EXPECT_EQ(Remove(ContactPath(kCarla) + "/dfns:scrolllist", 0), kAccepted);
    EXPECT_EQ(Names(ContactPath(kCarla) + "//dfns:list"),
              (std::vector<std::string>{"Night Shift"}));
    EXPECT_EQ(Count(ContactPath(kAna)), 1);

    EXPECT_EQ(Remove("//dfns:TextMessages", 0), kAccepted);
    EXPECT_EQ(Names("//dfns:TextMessage", "txt"), (std::vector<std::string>{"On my way"}));
}

// --- adding ------------------------------------------------------------------------------------

TEST_F(RulesTest, CanAddChildStaysWithinTheCapacitiesOfTheModel) {
    // The office profile holds 8 contacts: 2 public groups, 2 private groups, 4 privates, and 2
    // texts.
    struct Case {
        const char* list;
        Overrides limit;
        bool expected;
    };
    const Case cases[] = {
        {"//dfns:PublicGroups", {}, true},
        {"//dfns:PublicGroups", {{"max_num_of_contacts", "8"}}, false},
        {"//dfns:PublicGroups", {{"max_num_of_contacts", "9"}}, true},
        {"//dfns:PublicGroups", {{"max_num_of_public_grps", "2"}}, false},
        {"//dfns:PublicGroups", {{"max_num_of_public_grps", "3"}}, true},
        {"//dfns:PublicGroups",
         {{"public_grp_info_lst_size0", "2"}, {"public_grp_info_lst_size1", "0"}},
         false},  // every public group ID taken
        {"//dfns:PrivateGroups", {}, true},
        {"//dfns:PrivateGroups", {{"max_num_of_contacts", "8"}}, false},
        {"//dfns:PrivateGroups", {{"max_num_of_private_grps", "2"}}, false},
        {"//dfns:PrivateGroups", {{"max_num_of_private_grps", "3"}}, true},
        // The keypad's own permissions do not limit what the programming software adds.
        {"//dfns:PrivateGroups", {{"add_prvt_grp_en", "0"}}, true},
        {"//dfns:Privates", {}, true},
        {"//dfns:Privates", {{"max_num_of_contacts", "8"}}, false},
        {"//dfns:Privates", {{"max_num_of_contacts", "9"}}, true},
        {"//dfns:Privates", {{"add_prvt_contacts_en", "0"}}, true},
        // 10000001 and 10000005 free; the radio's own PID is never handed out.
        {"//dfns:Privates", {{"valid_PID_end", "10000005"}}, true},
        {"//dfns:Privates",
         {{"valid_PID_start", "10000002"}, {"valid_PID_end", "10000004"}},
         false},
        {"//dfns:Privates",
         {{"valid_PID_start", "10000002"}, {"valid_PID_end", "10000005"}, {"pid", "10000005"}},
         false},
        {"//dfns:TextMessages", {}, true},
        {"//dfns:TextMessages", {{"max_num_of_predefined_msgs", "2"}}, false},
        {"//dfns:TextMessages", {{"max_num_of_predefined_msgs", "3"}}, true},
        {"//dfns:TextMessages", {{"sms_mesgs_tx_en", "0"}, {"sms_compose_mesgs_en", "0"}}, false},
    };
    for (const Case& c : cases) {
        std::string trace = c.list;
        for (const auto& [k, v] : c.limit) {
            trace += " " + k + "=" + v;
        }
        SCOPED_TRACE(trace);
        ProfileSpec p = Office();
        p.limit = c.limit;
        Load(p);
        EXPECT_EQ(Item(c.list).CanAddChild(), c.expected);
    }
}

TEST_F(RulesTest, ContactsNeverExceedWhatTheCodeplugHolds) {
    ProfileSpec p;
    for (int i = 0; i < 150; ++i) {
        p.privates += Private({"P" + std::to_string(i), std::to_string(10000100 + i)});
    }
    p.limit = {{"max_num_of_contacts", "200"}, {"max_num_of_predefined_msgs", "30"}};
    for (int i = 0; i < 25; ++i) {
        p.texts += "<TextMessage txt=\"T" + std::to_string(i) + "\"/>";
    }
    Load(p);
    EXPECT_FALSE(Item("//dfns:Privates").CanAddChild());
    EXPECT_FALSE(Item("//dfns:PublicGroups").CanAddChild());
    EXPECT_FALSE(Item("//dfns:TextMessages").CanAddChild());
    EXPECT_FALSE(Item("//dfns:Privates").AddNewPriGrpPrivate("Private"));
    EXPECT_EQ(Count("//dfns:Private"), 150);
}

TEST_F(RulesTest, NewContactsAndTextsAreCompleteAndAbideByTheRules) {
    auto privateItem = Item("//dfns:Privates").AddNewPriGrpPrivate("Private");
    ASSERT_TRUE(privateItem);
    xmlNode* first = privateItem->Node();
    EXPECT_EQ(first, Node("//dfns:Privates/dfns:Private[last()]"));  // appended, as the tree does
    EXPECT_EQ(GetAttribute(first, "name"), "Private 1");
    EXPECT_EQ(GetAttribute(first, "pid"), "10000001");
    EXPECT_EQ(GetAttribute(first, "cntct_type"), "0");
    EXPECT_EQ(GetAttribute(first, "channel"), "1");
    EXPECT_EQ(GetAttribute(first, "alert_tone"), "1");
    EXPECT_EQ(GetAttribute(first, "home_grp"), "");
    EXPECT_EQ(GetAttribute(first, "id_in_use"), "1");
    EXPECT_EQ(GetAttribute(first, "private_scroll_list"), "0");
    EXPECT_EQ(privateItem->GetChildCount(), 2);
    EXPECT_EQ(privateItem->GetChildByName("ParentPrivateGroups").GetChildCount(), 0);
    EXPECT_EQ(privateItem->GetChildByName("scrolllist").GetChildCount(), 0);

    // "PRIVATE 2" equals "Private 2" in name order; 10000009 is the radio's own PID.
    ASSERT_EQ(SetText(ContactPath(kSpare), "name", "PRIVATE 2"), kAccepted);
    auto second = Item("//dfns:Privates").AddNewPriGrpPrivate("Private");
    ASSERT_TRUE(second);
    EXPECT_EQ(GetAttribute(second->Node(), "name"), "Private 3");
    EXPECT_EQ(GetAttribute(second->Node(), "pid"), "10000005");

    auto group = Item("//dfns:PrivateGroups").AddNewPriGrpPrivate("Group");
    ASSERT_TRUE(group);
    EXPECT_EQ(GetAttribute(group->Node(), "name"), "Group 1");
    EXPECT_EQ(GetAttribute(group->Node(), "pid"), "10000006");
    EXPECT_EQ(GetAttribute(group->Node(), "cntct_type"), "1");
    EXPECT_EQ(GetAttribute(group->Node(), "channel"), "1");

    auto pub = Item("//dfns:PublicGroups").AddNewChild();
    ASSERT_TRUE(pub);
    EXPECT_EQ(GetAttribute(pub->Node(), "name"), "Public Group 1");
    EXPECT_EQ(GetAttribute(pub->Node(), "pid"), "17179869181");  // 183 and 182 are taken
    EXPECT_EQ(GetAttribute(pub->Node(), "cntct_type"), "2");
    EXPECT_EQ(GetAttribute(pub->Node(), "channel"), "1");
    EXPECT_EQ(GetAttribute(pub->Node(), "in_scan_list"), "0");

    auto text = Item("//dfns:TextMessages").AddNewChild();
    ASSERT_TRUE(text);
    EXPECT_EQ(GetAttribute(text->Node(), "txt"), "Message 1");
    EXPECT_EQ(text->Node(), Node("//dfns:TextMessages/dfns:TextMessage[last()]"));

    // A long prefix is cut so the name keeps to 20 characters; odd characters are dropped.
    auto longName = Item("//dfns:Privates").AddNewPriGrpPrivate("Verylong\u2603prefixforcontacts");
    ASSERT_TRUE(longName);
    EXPECT_EQ(GetAttribute(longName->Node(), "name"), "Verylongprefixforc 1");

    EXPECT_EQ(SchemaErrors(), "");
}

// A dealer's first steps in a new profile: every shipped template takes one contact of each kind
// and a text, and stays valid.
TEST_F(RulesTest, ShippedTemplatesTakeNewContactsAndStayValid) {
    for (const char* model : {"QMV410", "QMV410 M"}) {
        SCOPED_TRACE(model);
        const std::string text =
            ReadFile(std::string(QMVVLT_SOURCE_DATA_DIR "/ProfileTemplate/") + model + ".lam");
        if (text.rfind("<?xml", 0) != 0) {
            ADD_FAILURE() << "the template is missing or not plain XML";
            continue;
        }
        engine.ReleaseDetachedNodes();
        std::string error;
        doc = ParseXmlSafely(text, &error, XML_PARSE_NOBLANKS);
        ASSERT_TRUE(doc) << error;
        ASSERT_EQ(SchemaErrors(), "");

        auto ana = Item("//dfns:Privates").AddNewPriGrpPrivate("Private");
        ASSERT_TRUE(ana);
        auto group = Item("//dfns:PrivateGroups").AddNewPriGrpPrivate("Group");
        ASSERT_TRUE(group);
        auto membership = ana->GetChildByName("ParentPrivateGroups").AddNewChild();
        ASSERT_TRUE(membership);
        EXPECT_EQ(membership->SetAttributeValue(
                      "pid", ScriptText(GetAttribute(group->Node(), "pid").value_or(""))),
                  kAccepted);
        auto pub = Item("//dfns:PublicGroups").AddNewChild();
        ASSERT_TRUE(pub);
        auto entry = ana->GetChildByName("scrolllist")
                         .AddNewPriScrList(GetAttribute(pub->Node(), "name").value_or(""));
        ASSERT_TRUE(entry);
        ASSERT_TRUE(Item("//dfns:TextMessages").AddNewChild());
        EXPECT_EQ(SchemaErrors(), "");
    }
}

TEST_F(RulesTest, NewPublicGroupsTakeTheFirstFreeIdOfTheBanksInOrder) {
    ProfileSpec p = Office();
    p.limit = {{"public_grp_info_lst_size0", "3"}};  // bank 0: ...183 to ...181
    Load(p);
    CDataItem list = Item("//dfns:PublicGroups");
    std::vector<std::string> pids;
    for (int i = 0; i < 7; ++i) {
        auto added = list.AddNewChild();
        if (!added) {
            break;
        }
        pids.push_back(GetAttribute(added->Node(), "pid").value_or(""));
    }
    EXPECT_EQ(pids, (std::vector<std::string>{"17179869181", "17179869000", "17179868999",
                                              "17179868998", "17179868997", "17179868996"}));
    EXPECT_FALSE(list.CanAddChild());
}

TEST_F(RulesTest, PublicGroupBankSizesAreClampedToWhatTheImageHolds) {
    ProfileSpec p = Office();
    p.limit = {{"public_grp_info_lst_size0", "4294967295"}};
    // 255 IDs from ...183 down: ...929 is the last of bank 0, ...928 lies in no bank.
    for (const auto& [pid, accepted] : {std::pair{"17179868929", true}, {"17179868928", false}}) {
        Load(p);
        EXPECT_EQ(SetText(ContactPath(kYard), "pid", pid).result == 0, accepted) << pid;
    }
}

TEST_F(RulesTest, PrivateScrollListEntriesNameEachExistingContactOnce) {
    CDataItem list = Item(ContactPath(kCarla) + "/dfns:scrolllist");
    EXPECT_TRUE(list.CanAddChild());
    auto yard = list.AddNewPriScrList("Yard");
    ASSERT_TRUE(yard);
    EXPECT_EQ(GetAttribute(yard->Node(), "name"), "Yard");
    EXPECT_FALSE(list.AddNewPriScrList("Yard"));
    EXPECT_FALSE(list.AddNewPriScrList("Nobody"));
    EXPECT_EQ(Names(ContactPath(kCarla) + "//dfns:list"),
              (std::vector<std::string>{"Ana", "Night Shift", "Yard"}));
    for (const char* name : {"Dispatch", "Day Shift", "Bruno", "Carla", "Spare"}) {
        ASSERT_TRUE(list.AddNewPriScrList(name)) << name;
    }
    EXPECT_FALSE(list.CanAddChild());
}

// --- capabilities ------------------------------------------------------------------------------

// A list the model does not support is shown while it holds members, marked, and closed to
// additions; its members can still be deleted. Only an empty one is hidden.
TEST_F(RulesTest, ListsOfUnsupportedKindsStayInViewWhileTheyHoldMembers) {
    constexpr int kNotSupportedNote = 30103;
    struct Case {
        const char* list;
        std::string ProfileSpec::*members;
        Overrides unsupported;
    };
    const Case cases[] = {
        {"//dfns:Privates", &ProfileSpec::privates, {{"max_num_of_contacts", "0"}}},
        {"//dfns:PrivateGroups", &ProfileSpec::privateGroups, {{"max_num_of_private_grps", "0"}}},
        {"//dfns:TextMessages",
         &ProfileSpec::texts,
         {{"sms_mesgs_tx_en", "0"}, {"sms_compose_mesgs_en", "0"}}},
        {"//dfns:TextMessages", &ProfileSpec::texts, {{"max_num_of_predefined_msgs", "0"}}},
    };
    for (const Case& c : cases) {
        for (const bool supported : {true, false}) {
            for (const bool empty : {true, false}) {
                SCOPED_TRACE(std::string(c.list) + (supported ? " supported" : " unsupported") +
                             (empty ? ", empty" : ", with members"));
                ProfileSpec p = Office();
                if (!supported) {
                    p.limit = c.unsupported;
                }
                if (empty) {
                    (p.*c.members).clear();
                }
                Load(p);
                CDataItem list = Item(c.list);
                EXPECT_EQ(list.IsEnabled(), supported || !empty);
                EXPECT_EQ(list.GetLabelSuffix(), supported ? 0 : kNotSupportedNote);
                if (!supported) {
                    EXPECT_FALSE(list.CanAddChild());
                }
                if (!empty) {
                    const int before = list.GetChildCount();
                    EXPECT_EQ(Remove(c.list, 0, kOk), kAccepted);
                    EXPECT_EQ(list.GetChildCount(), before - 1);
                }
            }
        }
    }
    // Public groups are always supported.
    ProfileSpec p = Office();
    p.publicGroups.clear();
    p.limit = {{"add_prvt_contacts_en", "0"}, {"add_prvt_grp_en", "0"}, {"public_scan_en", "0"}};
    Load(p);
    EXPECT_TRUE(Item("//dfns:PublicGroups").IsEnabled());
    EXPECT_EQ(Item("//dfns:PublicGroups").GetLabelSuffix(), 0);
}

// --- checking a whole profile ------------------------------------------------------------------

TEST_F(RulesTest, CheckReportsTheFirstRuleEachMemberOrListBreaks) {
    struct Case {
        const char* what;
        std::function<void(ProfileSpec&)> change;
        std::string node;
        int message;
        bool warningOnly;
    };
    const Case cases[] = {
        {"a sound contact", [](ProfileSpec&) {}, ContactPath(kBruno), 0, false},
        {"an empty name",
         [](ProfileSpec& p) {
             p.privates += Private({"", "10000060"});
         },
         ContactPath("10000060"), 10055, false},
        {"a long name",
         [](ProfileSpec& p) {
             p.privates += Private({std::string(21, 'x'), "10000060"});
         },
         ContactPath("10000060"), 30100, false},
        {"a name the radio cannot show",
         [](ProfileSpec& p) {
             p.privates += Private({"\u0141ukasz", "10000060"});
         },
         ContactPath("10000060"), 218, false},
        {"a name twice",
         [](ProfileSpec& p) {
             p.privates += Private({"BRUNO", "10000060"});
         },
         ContactPath("10000060"), 127, false},
        {"a PID twice",
         [](ProfileSpec& p) {
             p.privates += Private({"Dora", kBruno});
         },
         "(" + ContactPath(kBruno) + ")[2]", 132, false},
        {"a PID out of range",
         [](ProfileSpec& p) {
             p.privates += Private({"Dora", "99999999999"});
         },
         ContactPath("99999999999"), 30101, false},
        {"a public group PID outside the banks",
         [](ProfileSpec& p) { p.publicGroups += PublicGroup("Far", "17179800000", 1, 0); },
         ContactPath("17179800000"), 30102, false},
        {"a channel the radio lacks",
         [](ProfileSpec& p) {
             p.privates += Private({"Dora", "10000060", 8});
         },
         ContactPath("10000060"), 30104, false},
        {"a text the radio cannot show",
         [](ProfileSpec& p) { p.texts += "<TextMessage txt=\"\u2615 break\"/>"; },
         "//dfns:TextMessage[3]", 30105, false},
        {"a long text",
         [](ProfileSpec& p) { p.texts += "<TextMessage txt=\"" + std::string(81, 'x') + "\"/>"; },
         "//dfns:TextMessage[3]", 30106, false},
        {"more contacts than the radio takes",
         [](ProfileSpec& p) {
             p.limit = {{"max_num_of_contacts", "7"}};
         },
         "//dfns:Contacts", 30107, false},
        {"more public groups than the radio takes",
         [](ProfileSpec& p) {
             p.limit = {{"max_num_of_public_grps", "1"}};
         },
         "//dfns:PublicGroups", 30107, false},
        {"texts for a radio without messaging",
         [](ProfileSpec& p) {
             p.limit = {{"sms_mesgs_tx_en", "0"}, {"sms_compose_mesgs_en", "0"}};
         },
         "//dfns:TextMessages", 30108, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProfileSpec p = Office();
        c.change(p);
        Load(p);
        bool warningOnly = !c.warningOnly;
        EXPECT_EQ(Item(c.node).CheckRules(warningOnly), c.message);
        if (c.message != 0) {
            EXPECT_EQ(warningOnly, c.warningOnly);
        }
    }
}

// --- other fields ------------------------------------------------------------------------------

TEST_F(RulesTest, TextMessagesHoldIso88591TextOfAtMostEightyCharacters) {
    struct Case {
        std::string text;
        Answer expected;
        std::string stored;
    };
    const Case cases[] = {
        {"Caf\u00e9 \u00e0 8h", kAccepted, "Caf\u00e9 \u00e0 8h"},
        {"Smile \u263a", {1, 217, 0x31}, "Call the office"},
        {"Line\nbreak\t!", kAccepted, "Linebreak!"},
        {std::string(90, 'x'), kAccepted, std::string(80, 'x')},
        {"", kAccepted, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Load(Office());
        EXPECT_EQ(SetText("//dfns:TextMessage[1]", "txt", c.text), c.expected);
        EXPECT_EQ(Attr("//dfns:TextMessage[1]", "txt"), c.stored);
    }
}

TEST_F(RulesTest, AChannelScanListHoldsTenPublicGroups) {
    ProfileSpec p = Office();
    for (int i = 0; i < 11; ++i) {
        p.publicGroups += PublicGroup("Scan " + std::to_string(i),
                                      std::to_string(17179869170LL - i), 3, i < 10 ? 1 : 0);
    }
    Load(p);
    const std::string last = ContactPath("17179869160");
    const std::string first = ContactPath("17179869170");
    EXPECT_EQ(Set(last, "in_scan_list", CScriptValue(true)), Refused(155));
    EXPECT_EQ(Attr(last, "in_scan_list"), "0");
    EXPECT_EQ(Set(first, "in_scan_list", CScriptValue(false)), kAccepted);
    EXPECT_EQ(Attr(first, "in_scan_list"), "0");
    EXPECT_EQ(Set(last, "in_scan_list", CScriptValue(true)), kAccepted);
    EXPECT_EQ(Attr(last, "in_scan_list"), "1");
    // Another channel's list is not affected by channel 3's.
    EXPECT_EQ(Set(ContactPath(kYard), "in_scan_list", CScriptValue(true)), kAccepted);
}

TEST_F(RulesTest, HomeGroupsAreGroupsOfThePrivatesChannel) {
    struct Case {
        std::string home;
        Answer expected;
    };
    const Case cases[] = {
        {kNightShift, kAccepted}, {kDispatch, kAccepted},     {"", kAccepted},
        {kYard, Refused(108)},    {"10009999", Refused(108)}, {kAna, Refused(108)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.home);
        Load(Office());
        EXPECT_EQ(SetText(ContactPath(kAna), "home_grp", c.home), c.expected);
        EXPECT_EQ(Attr(ContactPath(kAna), "home_grp"), c.expected.result == 0 ? c.home : kDayShift);
    }
}

TEST_F(RulesTest, TheCodeplugPasswordIsEmptyOrFourDigits) {
    struct Case {
        std::string password;
        Answer expected;
    };
    const Case cases[] = {
        {"1234", kAccepted},     {"", kAccepted},        {"123", Refused(295)},
        {"12345", Refused(295)}, {"12a4", Refused(295)}, {" 123", Refused(295)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        Load(Office());
        ASSERT_EQ(SetText("//dfns:setting", "password", "9999"), kAccepted);
        EXPECT_EQ(SetText("//dfns:setting", "password", c.password), c.expected);
        EXPECT_EQ(Attr("//dfns:setting", "password"), c.expected.result == 0 ? c.password : "9999");
    }
}

// The language and the volume levels take what the radio's limits offer, as the settings view
// lists them (a unit list names them as text).
TEST_F(RulesTest, LanguageAndVolumesStayWithinTheRadiosChoices) {
    struct Case {
        const char* attribute;
        CScriptValue value;
        const char* limitLanguages;  // num_of_languages
        Answer expected;
        const char* stored;
    };
    const Answer noLanguage = Refused(MessageId::kNoSuchLanguage);
    const Answer noLevel = Refused(MessageId::kNoSuchVolumeLevel);
    const Case cases[] = {
        {"language", ScriptText("0"), "1", kAccepted, "0"},
        {"language", ScriptInteger(0), "1", kAccepted, "0"},
        {"language", ScriptText("4"), "1", noLanguage, "0"},
        {"language", ScriptText("zero"), "1", noLanguage, "0"},
        {"language", ScriptText("0"), "0", noLanguage, "0"},  // beyond the radio's count
        {"ringer_vol_level", ScriptText("0"), "1", kAccepted, "0"},
        {"ringer_vol_level", ScriptText(" 8 "), "1", kAccepted, "8"},
        {"ringer_vol_level", ScriptText("9"), "1", noLevel, "4"},
        {"keypad_vol_level", ScriptInteger(0), "1", kAccepted, "0"},
        {"speaker_vol_level", ScriptText("0"), "1", noLevel, "5"},
        {"speaker_vol_level", ScriptText("1"), "1", kAccepted, "1"},
        {"alarm_vol_level", ScriptText("-1"), "1", noLevel, "5"},
        {"earpiece_vol_level", ScriptText("8.5"), "1", noLevel, "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.attribute) + " " + ScriptToText(c.value));
        ProfileSpec spec = Office();
        spec.limit["num_of_languages"] = c.limitLanguages;
        Load(spec);
        EXPECT_EQ(Set("//dfns:setting", c.attribute, c.value), c.expected);
        EXPECT_EQ(Attr("//dfns:setting", c.attribute), c.stored);
    }
}

}  // namespace
