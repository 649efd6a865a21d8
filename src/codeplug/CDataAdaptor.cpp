#include "CDataAdaptor.h"

#include <string>

#include "CQMVVLTException.h"
#include "MessageId.h"
#include "ProfileValue.h"
#include "PublicGroupIdBank.h"
#include "RadioControlText.h"
#include "TextCodec.h"

namespace {

constexpr const char* kXml2VirtualCP = "CDataAdaptor::XML2VirtualCP";
constexpr const char* kCopyPrvtScrlLst = "CDataAdaptor::CopyPrvtScrlLst";
// Shown for a profile the conversion cannot take.

std::string DomError(std::string_view message, std::string_view desc) {
    return "ErrorMsg: " + std::string(message) + "\nDesc: " + std::string(desc) +
           "\nSource: libxml2";
}

// Reads the attributes of one element; a missing attribute stops the conversion.
class CAttributeReader {
  public:
    CAttributeReader(const xmlNode* node, const char* element) : m_node(node), m_element(element) {}

    std::string Raw(const char* name) const {
        auto value = GetAttribute(m_node, name);
        if (!value) {
            ThrowQMVVLT(MessageId::kInvalidProfile, kXml2VirtualCP,
                        DomError("missing attribute", std::string(m_element) + "/@" + name));
        }
        return std::move(*value);
    }
    std::u16string Text(const char* name) const {
        return PicturesToControls(Utf8ToUtf16(Raw(name)));
    }
    std::uint32_t Number(const char* name) const { return ParseProfileNumber(Raw(name)); }
    std::uint8_t Byte(const char* name) const { return ParseProfileByte(Raw(name)); }
    std::int8_t SignedByte(const char* name) const { return static_cast<std::int8_t>(Byte(name)); }
    bool Flag(const char* name) const { return ParseProfileFlag(Raw(name)); }
    void FlagInto(const char* name, std::uint8_t& byte, std::uint8_t mask) const {
        PutBit(byte, mask, Flag(name));
    }

  private:
    const xmlNode* m_node;
    const char* m_element;
};

xmlNode* RequireFirst(const CXPath& xpath, const char* query, const char* element) {
    xmlNode* node = xpath.SelectFirst(query);
    if (!node) {
        ThrowQMVVLT(MessageId::kInvalidProfile, kXml2VirtualCP,
                    DomError("missing element", std::string(element)));
    }
    return node;
}

void CheckLimit(std::size_t count, std::size_t limit, const char* what) {
    if (count > limit) {
        ThrowQMVVLT(MessageId::kInvalidProfile, kXml2VirtualCP,
                    "The profile holds " + std::to_string(count) + " " + what + "; at most " +
                        std::to_string(limit) + " fit the codeplug.");
    }
}

void ReadVersion(const CXPath& xpath, CVersionBlock& version) {
    const CAttributeReader attr(RequireFirst(xpath, "//dfns:version", "version"), "version");
    const std::u16string phase = attr.Text("firmware_phase");
    version.firmware_phase = phase.empty() ? 0 : static_cast<std::uint8_t>(phase[0] & 0xFF);
    version.firmware_release = attr.SignedByte("firmware_release");
    version.firmware_version = attr.SignedByte("firmware_version");
    version.firmware_revision = attr.SignedByte("firmware_revision");
    version.codeplug_structure = attr.SignedByte("codeplug_structure");
    version.codeplug_version = attr.SignedByte("codeplug_version");
    version.codeplug_dev_version = attr.SignedByte("codeplug_dev_version");
}

void ReadLimits(const CXPath& xpath, CRadioLimits& limits) {
    const CAttributeReader attr(RequireFirst(xpath, "//dfns:limit", "limit"), "limit");
    limits.pid = attr.Text("pid");
    limits.valid_PID_start = attr.Text("valid_PID_start");
    limits.valid_PID_end = attr.Text("valid_PID_end");
    for (int i = 0; i < kPublicGroupRanges; ++i) {
        CPublicGroupRange& range = limits.public_grp_info[static_cast<std::size_t>(i)];
        const std::string index = std::to_string(i);
        range.start_pid = attr.Text(("public_grp_info_start_pid" + index).c_str());
        range.name = attr.Text(("public_grp_info_pid_name" + index).c_str());
        range.list_size = static_cast<std::uint8_t>(
            PublicGroupListSize(attr.Raw(("public_grp_info_lst_size" + index).c_str())));
    }
    limits.model = attr.Text("model");
    limits.clone_compatibility_version = attr.Byte("clone_compatibility_version");
    limits.max_num_of_contacts = attr.Byte("max_num_of_contacts");
    limits.max_num_of_private_grps = attr.Byte("max_num_of_private_grps");
    limits.max_num_of_public_grps = attr.Byte("max_num_of_public_grps");
    limits.max_num_of_predefined_msgs = attr.Byte("max_num_of_predefined_msgs");
    limits.max_num_of_channels = attr.Byte("max_num_of_channels");
    limits.max_vol_level = attr.Byte("max_vol_level");
    limits.num_of_languages = attr.Byte("num_of_languages");
    for (const FlagBit& flag : kCapabilityFlags) {
        PutBit(limits.capability_flags, flag.bit, attr.Flag(flag.name));
    }

    const auto languages = xpath.SelectNodes("//dfns:language");
    CheckLimit(languages.size(), kMaxLanguages, "languages");
    for (std::size_t k = 0; k < languages.size(); ++k) {
        limits.languages[k] = CAttributeReader(languages[k], "language").Byte("language_id");
    }
}

void ReadSettings(const CXPath& xpath, CRadioSettings& settings) {
    const CAttributeReader attr(RequireFirst(xpath, "//dfns:setting", "setting"), "setting");
    settings.password = attr.Text("password");
    settings.contrast = attr.Byte("contrast");
    settings.backlight = attr.Number("backlight");
    settings.vibracall = attr.Byte("vibracall");
    settings.tot_timer = attr.Byte("tot_timer");
    settings.current_time = attr.Number("current_time");
    settings.alarm_time = attr.Number("alarm_time");
    settings.ringer_vol_level = attr.Byte("ringer_vol_level");
    settings.speaker_vol_level = attr.Byte("speaker_vol_level");
    settings.keypad_vol_level = attr.Byte("keypad_vol_level");
    settings.alarm_vol_level = attr.Byte("alarm_vol_level");
    settings.earpiece_vol_level = attr.Byte("earpiece_vol_level");
    settings.language = attr.Byte("language");
    settings.call_forward_id = attr.Text("call_forward_id");
    settings.tpt_offset = attr.Byte("tpt_offset");
    const auto accessory = static_cast<std::uint8_t>(attr.Number("noise_level_accessory") & 0x0F);
    settings.noise_levels =
        static_cast<std::uint8_t>((settings.noise_levels & 0x0F) | accessory << 4);
    const auto radio = static_cast<std::uint8_t>(attr.Number("noise_level_radio") & 0x0F);
    settings.noise_levels = static_cast<std::uint8_t>((settings.noise_levels & 0xF0) | radio);
    for (const FlagBit& flag : kSettingsFlags) {
        PutBit(settings.settings_flags, flag.bit, attr.Flag(flag.name));
    }
}

// The fields every contact kind carries.
void ReadCommonContact(const CAttributeReader& attr, CContactRecord& rec) {
    rec.cntct_type = attr.Byte("cntct_type");
    rec.name = attr.Text("name");
    rec.pid = attr.Text("pid");
    rec.channel = attr.Byte("channel");
}

// The ParentPrivateGroup grandchildren of a Private ("./dfns:*/dfns:ParentPrivateGroup").
void ReadParentGroups(const xmlNode* priv, CContactRecord& rec) {
    std::size_t k = 0;
    for (const xmlNode* child = priv->children; child; child = child->next) {
        if (!IsProfileElement(child, {})) {
            continue;
        }
        for (const xmlNode* group = child->children; group; group = group->next) {
            if (!IsProfileElement(group, "ParentPrivateGroup")) {
                continue;
            }
            CheckLimit(k + 1, kMaxParentGroups, "parent groups for one private contact");
            rec.parent_groups[k++] = CAttributeReader(group, "ParentPrivateGroup").Text("pid");
        }
    }
}

void ReadContacts(const CXPath& xpath, CVirtualCodeplug& image) {
    const auto publicGroups = xpath.SelectNodes("//dfns:PublicGroup");
    const auto privateGroups = xpath.SelectNodes("//dfns:PrivateGroup");
    const auto privates = xpath.SelectNodes("//dfns:Private");
    CheckLimit(publicGroups.size() + privateGroups.size() + privates.size(), kMaxContacts,
               "contacts");
    std::size_t index = 0;
    for (xmlNode* node : publicGroups) {
        const CAttributeReader attr(node, "PublicGroup");
        CContactRecord& rec = image.contacts[index++];
        ReadCommonContact(attr, rec);
        attr.FlagInto("in_scan_list", rec.contact_flags, kFlagInScanList);
        attr.FlagInto("in_scroll_list", rec.contact_flags, kFlagInScrollList);
    }
    for (xmlNode* node : privateGroups) {
        const CAttributeReader attr(node, "PrivateGroup");
        CContactRecord& rec = image.contacts[index++];
        ReadCommonContact(attr, rec);
        attr.FlagInto("in_scroll_list", rec.contact_flags, kFlagInScrollList);
    }
    for (xmlNode* node : privates) {
        const CAttributeReader attr(node, "Private");
        CContactRecord& rec = image.contacts[index++];
        ReadCommonContact(attr, rec);
        attr.FlagInto("in_scroll_list", rec.contact_flags, kFlagInScrollList);
        rec.alert_tone = attr.Byte("alert_tone");
        rec.home_grp = attr.Text("home_grp");
        attr.FlagInto("show_grp_only", rec.contact_flags, kFlagShowGrpOnly);
        attr.FlagInto("id_in_use", rec.contact_flags, kFlagIdInUse);
        attr.FlagInto("see_all_groups", rec.private_flags, kPrivateSeeAllGroups);
        attr.FlagInto("mngr_mode", rec.private_flags, kPrivateMngrMode);
        ReadParentGroups(node, rec);
    }
}

void ReadTexts(const CXPath& xpath, CVirtualCodeplug& image) {
    const auto texts = xpath.SelectNodes("//dfns:TextMessage");
    CheckLimit(texts.size(), kMaxTexts, "text messages");
    for (std::size_t k = 0; k < texts.size(); ++k) {
        image.texts[k] = CAttributeReader(texts[k], "TextMessage").Text("txt");
    }
}

// The XPath string literal fragment to search a name with: a double quote cannot stand inside the
// query's quoted literal, so search a piece of the name without one and compare exactly after.
std::string QuoteFreeFragment(std::string_view name) {
    std::size_t start = 0;
    while (start < name.size() && name[start] == '"') {
        ++start;
    }
    if (start == 0) {
        return std::string(name.substr(0, name.find('"')));
    }
    const std::size_t end = name.find('"', start);
    return std::string(name.substr(start, end == std::string_view::npos ? end : end - start));
}

void MarkScrollListEntry(const CXPath& xpath, const std::string& name) {
    if (name.find('"') == std::string::npos) {
        if (xmlNode* contact =
                xpath.SelectFirst("//dfns:Contacts/dfns:*/dfns:*[@name=\"" + name + "\"]")) {
            SetAttribute(contact, "in_scroll_list", "1");
        }
        return;
    }
    const auto candidates = xpath.SelectNodes("//dfns:Contacts/dfns:*/dfns:*[contains(@name, \"" +
                                              QuoteFreeFragment(name) + "\")]");
    for (xmlNode* contact : candidates) {
        if (GetAttribute(contact, "name") == name) {
            SetAttribute(contact, "in_scroll_list", "1");
            return;
        }
    }
}

}  // namespace

XmlDocPtr CDataAdaptor::CopyPrvtScrlLst(std::string_view profileText, std::u16string_view pid) {
    return TraceExceptions(kCopyPrvtScrlLst, [&] {
        std::string error;
        XmlDocPtr doc = ParseXmlSafely(profileText, &error);
        if (!doc) {
            ThrowQMVVLT(MessageId::kInvalidProfile, kCopyPrvtScrlLst,
                        DomError(error, "profile text"));
        }
        // A PID is digits; anything that could leave the query's literal matches no contact.
        const std::string pidText = Utf16ToUtf8(pid);
        if (pidText.empty() || pidText.find('\'') != std::string::npos) {
            return doc;
        }
        const CXPath xpath(doc.get());
        const std::string privatePath = "//dfns:Privates/dfns:Private[@pid='" + pidText + "']";
        xmlNode* owner = xpath.SelectFirst(privatePath);
        if (!owner ||
            ParseProfileNumber(GetAttribute(owner, "private_scroll_list").value_or("")) == 0) {
            return doc;
        }
        for (xmlNode* contact : xpath.SelectNodes("//dfns:Contacts/dfns:*/dfns:*")) {
            SetAttribute(contact, "in_scroll_list", "0");
        }
        for (xmlNode* entry : xpath.SelectNodes(privatePath + "/dfns:scrolllist/dfns:list")) {
            if (auto name = GetAttribute(entry, "name")) {
                MarkScrollListEntry(xpath, *name);
            }
        }
        return doc;
    });
}

int CDataAdaptor::XML2VirtualCP(std::string_view profileText, CVirtualCodeplug& image,
                                std::u16string_view currentRadioPid) {
    return TraceExceptions(kXml2VirtualCP, [&] {
        const XmlDocPtr doc = CopyPrvtScrlLst(profileText, currentRadioPid);
        const CXPath xpath(doc.get());
        ReadVersion(xpath, image.version);
        ReadLimits(xpath, image.limits);
        ReadSettings(xpath, image.settings);
        ReadContacts(xpath, image);
        ReadTexts(xpath, image);
        return 1;
    });
}
