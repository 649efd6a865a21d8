#include "CProfileWriter.h"

#include <algorithm>
#include <charconv>

#include "RadioControlText.h"
#include "TextCodec.h"
#include "XmlDom.h"

void AppendEscapedAttribute(std::string& out, std::u16string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* entity = nullptr;
        char16_t picture[1] = {};
        switch (text[i]) {
            // A parser turns a literal TAB, LF or CR in an attribute into a blank.
            case u'\t':
                entity = "&#9;";
                break;
            case u'\n':
                entity = "&#10;";
                break;
            case u'\r':
                entity = "&#13;";
                break;
            case u'&':
                entity = "&amp;";
                break;
            case u'<':
                entity = "&lt;";
                break;
            case u'>':
                entity = "&gt;";
                break;
            case u'"':
                entity = "&quot;";
                break;
            default:
                if (!IsXmlForbiddenControl(text[i])) {
                    continue;
                }
                // XML 1.0 cannot carry the other C0 controls, not even as references.
                picture[0] = ControlToPicture(text[i]);
                break;
        }
        AppendUtf16AsUtf8(out, text.substr(start, i - start));
        if (entity) {
            out += entity;
        } else {
            AppendUtf16AsUtf8(out, std::u16string_view(picture, 1));
        }
        start = i + 1;
    }
    AppendUtf16AsUtf8(out, text.substr(start));
}

std::string EscapeAttribute(std::u16string_view text) {
    std::string out;
    AppendEscapedAttribute(out, text);
    return out;
}

namespace {

constexpr std::string_view kLineTab = "\r\n\t";

void AppendNumber(std::string& out, std::uint32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// The unsigned 32-bit value of a sign-extended version byte (-1 is written as 4294967295).
std::uint32_t SignExtended(std::int8_t value) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}

// Formats name="value" pairs, each after a given separator.
class CAttributeSink {
  public:
    CAttributeSink(std::string& out, std::string_view before, std::string_view after = {})
        : m_out(out), m_before(before), m_after(after) {}

    void Number(std::string_view name, std::uint32_t value) {
        Open(name);
        AppendNumber(m_out, value);
        Close();
    }
    void Flag(std::string_view name, bool value) { Number(name, value ? 1 : 0); }
    void Text(std::string_view name, std::u16string_view value) {
        Open(name);
        AppendEscapedAttribute(m_out, value);
        Close();
    }
    void Char(std::string_view name, std::uint8_t value) {
        Open(name);
        // The byte as a character; escaped like every other text.
        const char16_t c[1] = {value};
        AppendEscapedAttribute(m_out, std::u16string_view(c, value ? 1 : 0));
        Close();
    }
    // Raw access for the one attribute with a blank before its "=".
    std::string& Out() { return m_out; }

  private:
    void Open(std::string_view name) {
        m_out += m_before;
        m_out += name;
        m_out += "=\"";
    }
    void Close() {
        m_out += '"';
        m_out += m_after;
    }

    std::string& m_out;
    std::string_view m_before;
    std::string_view m_after;
};

void WriteVersion(std::string& out, const CVersionBlock& v) {
    out += "\r\n\t<version\r\n\t";
    CAttributeSink attr(out, {}, kLineTab);
    attr.Char("firmware_phase", v.firmware_phase);
    attr.Number("firmware_release", SignExtended(v.firmware_release));
    attr.Number("firmware_version", SignExtended(v.firmware_version));
    attr.Number("firmware_revision", SignExtended(v.firmware_revision));
    attr.Number("codeplug_version", SignExtended(v.codeplug_version));
    attr.Number("codeplug_structure", SignExtended(v.codeplug_structure));
    attr.Number("codeplug_dev_version", SignExtended(v.codeplug_dev_version));
    out += "/>";
}

void WriteLimits(std::string& out, const CRadioLimits& l) {
    out += "\r\n\t<limit";
    CAttributeSink attr(out, kLineTab);
    attr.Text("pid", l.pid);
    attr.Text("valid_PID_start", l.valid_PID_start);
    attr.Text("valid_PID_end", l.valid_PID_end);
    attr.Text("starting_public_grp_pid", l.public_grp_info[0].start_pid);
    attr.Number("public_grp_list_size", l.public_grp_info[0].list_size);
    for (std::size_t i = 0; i < l.public_grp_info.size(); ++i) {
        const std::string index = std::to_string(i);
        attr.Text("public_grp_info_start_pid" + index, l.public_grp_info[i].start_pid);
        attr.Text("public_grp_info_pid_name" + index, l.public_grp_info[i].name);
        attr.Number("public_grp_info_lst_size" + index, l.public_grp_info[i].list_size);
    }
    attr.Text("model", l.model);
    attr.Number("clone_compatibility_version", l.clone_compatibility_version);
    attr.Number("max_num_of_contacts", l.max_num_of_contacts);
    attr.Number("max_num_of_private_grps", l.max_num_of_private_grps);
    attr.Number("max_num_of_public_grps", l.max_num_of_public_grps);
    attr.Number("max_num_of_predefined_msgs", l.max_num_of_predefined_msgs);
    attr.Number("max_num_of_channels", l.max_num_of_channels);
    attr.Number("max_vol_level", l.max_vol_level);
    attr.Number("num_of_languages", l.num_of_languages);
    for (const FlagBit& flag : kCapabilityFlags) {
        const bool on = TestBit(l.capability_flags, flag.bit);
        if (std::string_view(flag.name) == "prvt_call_rec_dis") {
            // Written with a blank before "=" since the first release; readers see the same.
            out += "\r\n\tprvt_call_rec_dis =\"";
            AppendNumber(out, on ? 1 : 0);
            out += '"';
        } else {
            attr.Flag(flag.name, on);
        }
    }
    attr.Number("static_ergo_flag2", 0);
    out += ">\r\n\t<languages>";
    // The list holds six entries whatever the count claims.
    const std::size_t count = std::min<std::size_t>(l.num_of_languages, l.languages.size());
    for (std::size_t i = 0; i < count; ++i) {
        out += "\r\n\t<language language_id=\"";
        AppendNumber(out, l.languages[i]);
        out += "\" />";
    }
    out += "\r\n\t</languages>\r\n\t</limit>";
}

void WriteSettings(std::string& out, const CRadioSettings& s) {
    out += "\r\n\t<setting";
    CAttributeSink attr(out, kLineTab);
    attr.Text("password", s.password);
    attr.Number("contrast", s.contrast);
    attr.Number("backlight", s.backlight);
    attr.Number("vibracall", s.vibracall);
    attr.Number("tot_timer", s.tot_timer);
    attr.Number("current_time", s.current_time);
    attr.Number("alarm_time", s.alarm_time);
    attr.Number("ringer_vol_level", s.ringer_vol_level);
    attr.Number("speaker_vol_level", s.speaker_vol_level);
    attr.Number("keypad_vol_level", s.keypad_vol_level);
    attr.Number("alarm_vol_level", s.alarm_vol_level);
    attr.Number("earpiece_vol_level", s.earpiece_vol_level);
    attr.Number("language", s.language);
    attr.Text("call_forward_id", s.call_forward_id);
    attr.Number("tpt_offset", s.tpt_offset);
    attr.Number("noise_level_accessory", s.NoiseLevelAccessory());
    attr.Number("noise_level_radio", s.NoiseLevelRadio());
    for (const FlagBit& flag : kSettingsFlags) {
        attr.Flag(flag.name, TestBit(s.settings_flags, flag.bit));
    }
    out += "\r\n\t/>\n\r";
}

void WriteContactHead(CAttributeSink& attr, const CContactRecord& rec) {
    attr.Number("cntct_type", rec.cntct_type);
    attr.Text("name", rec.name);
    attr.Text("pid", rec.pid);
    attr.Number("channel", rec.channel);
}

void WritePublicGroup(std::string& out, const CContactRecord& rec) {
    out += "\r\n\t<PublicGroup";
    CAttributeSink attr(out, kLineTab);
    WriteContactHead(attr, rec);
    attr.Flag("in_scan_list", rec.contact_flags & kFlagInScanList);
    attr.Flag("in_scroll_list", rec.contact_flags & kFlagInScrollList);
    out += "\r\n\t/>";
}

void WritePrivateGroup(std::string& out, const CContactRecord& rec) {
    out += "\r\n\t<PrivateGroup";
    CAttributeSink attr(out, kLineTab);
    WriteContactHead(attr, rec);
    attr.Flag("in_scroll_list", rec.contact_flags & kFlagInScrollList);
    out += "\r\n\t/>";
}

void WritePrivate(std::string& out, const CContactRecord& rec) {
    out += "\r\n\t<Private";
    CAttributeSink attr(out, kLineTab);
    WriteContactHead(attr, rec);
    attr.Flag("in_scroll_list", rec.contact_flags & kFlagInScrollList);
    attr.Number("alert_tone", rec.alert_tone);
    attr.Text("home_grp", rec.home_grp);
    attr.Flag("show_grp_only", rec.contact_flags & kFlagShowGrpOnly);
    attr.Flag("id_in_use", rec.contact_flags & kFlagIdInUse);
    attr.Flag("see_all_groups", rec.private_flags & kPrivateSeeAllGroups);
    attr.Flag("mngr_mode", rec.private_flags & kPrivateMngrMode);
    attr.Flag("private_scroll_list", false);
    out += "><ParentPrivateGroups>";
    for (const std::u16string& group : rec.parent_groups) {
        if (!group.empty()) {
            out += "<ParentPrivateGroup pid =\"";
            AppendEscapedAttribute(out, group);
            out += "\" />";
        }
    }
    out += "</ParentPrivateGroups><scrolllist/></Private>";
}

}  // namespace

int CProfileWriter::VirtualCP2XML(const CVirtualCodeplug& image, std::string& out) {
    std::string text;
    text.reserve(64 * 1024);
    text += "<?xml version=\"1.0\" encoding=\"utf-8\" ?><QMVProfile xmlns=\"";
    text += kProfileNamespaceUri;
    text += "\">";
    WriteVersion(text, image.version);
    WriteLimits(text, image.limits);
    WriteSettings(text, image.settings);

    std::string publicGroups, privateGroups, privates;
    for (const CContactRecord& rec : image.contacts) {
        switch (rec.cntct_type) {
            case kContactPublicGroup:
                WritePublicGroup(publicGroups, rec);
                break;
            case kContactPrivateGroup:
                WritePrivateGroup(privateGroups, rec);
                break;
            case kContactPrivate:
                WritePrivate(privates, rec);
                break;
            default:
                break;  // an empty slot, or a type no profile knows
        }
    }
    text += "\n\r<Contacts> <PublicGroups>";
    text += publicGroups;
    text += "</PublicGroups><PrivateGroups>";
    text += privateGroups;
    text += "</PrivateGroups><Privates>";
    text += privates;
    text += "</Privates></Contacts>";

    text += "\r\n<TextMessages>";
    for (const std::u16string& message : image.texts) {
        if (!message.empty()) {
            text += "\r\n\t<TextMessage txt=\"";
            AppendEscapedAttribute(text, message);
            text += "\" />";
        }
    }
    text += "\r\n\t</TextMessages></QMVProfile>";
    out = std::move(text);
    return 1;
}
