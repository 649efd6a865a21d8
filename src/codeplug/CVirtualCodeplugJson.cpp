#include "CVirtualCodeplugJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <stdexcept>

namespace {

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

QJsonObject FlagObject(std::uint32_t word, auto const& table) {
    QJsonObject bits;
    for (const FlagBit& flag : table) {
        bits.insert(flag.name, TestBit(word, flag.bit) ? 1 : 0);
    }
    return bits;
}

QJsonObject VersionToJson(const CVersionBlock& v) {
    const char16_t phase[1] = {v.firmware_phase};
    return QJsonObject{
        {"firmware_phase", Q(std::u16string(phase, v.firmware_phase ? 1 : 0))},
        {"firmware_release", v.firmware_release},
        {"firmware_version", v.firmware_version},
        {"firmware_revision", v.firmware_revision},
        {"codeplug_structure", v.codeplug_structure},
        {"codeplug_version", v.codeplug_version},
        {"codeplug_dev_version", v.codeplug_dev_version},
    };
}

QJsonObject LimitsToJson(const CRadioLimits& l) {
    QJsonArray ranges;
    for (const CPublicGroupRange& r : l.public_grp_info) {
        ranges.append(QJsonObject{
            {"start_pid", Q(r.start_pid)}, {"name", Q(r.name)}, {"list_size", r.list_size}});
    }
    QJsonArray languages;
    for (std::uint8_t id : l.languages) {
        languages.append(id);
    }
    return QJsonObject{
        {"pid", Q(l.pid)},
        {"valid_PID_start", Q(l.valid_PID_start)},
        {"valid_PID_end", Q(l.valid_PID_end)},
        {"public_grp_info", ranges},
        {"model", Q(l.model)},
        {"clone_compatibility_version", l.clone_compatibility_version},
        {"max_num_of_contacts", l.max_num_of_contacts},
        {"max_num_of_private_grps", l.max_num_of_private_grps},
        {"max_num_of_public_grps", l.max_num_of_public_grps},
        {"max_num_of_predefined_msgs", l.max_num_of_predefined_msgs},
        {"capability_flags", static_cast<qint64>(l.capability_flags)},
        {"capabilities", FlagObject(l.capability_flags, kCapabilityFlags)},
        {"extra_capability", static_cast<qint64>(l.extra_capability)},
        {"num_of_languages", l.num_of_languages},
        {"languages", languages},
        {"max_num_of_channels", l.max_num_of_channels},
        {"max_vol_level", l.max_vol_level},
    };
}

QJsonObject SettingsToJson(const CRadioSettings& s) {
    return QJsonObject{
        {"contrast", s.contrast},
        {"backlight", static_cast<qint64>(s.backlight)},
        {"vibracall", s.vibracall},
        {"current_time", static_cast<qint64>(s.current_time)},
        {"alarm_time", static_cast<qint64>(s.alarm_time)},
        {"ringer_vol_level", s.ringer_vol_level},
        {"speaker_vol_level", s.speaker_vol_level},
        {"keypad_vol_level", s.keypad_vol_level},
        {"alarm_vol_level", s.alarm_vol_level},
        {"earpiece_vol_level", s.earpiece_vol_level},
        {"language", s.language},
        {"settings_flags", static_cast<qint64>(s.settings_flags)},
        {"flags", FlagObject(s.settings_flags, kSettingsFlags)},
        {"call_forward_id", Q(s.call_forward_id)},
        {"password", Q(s.password)},
        {"noise_levels", s.noise_levels},
        {"noise_level_accessory", s.NoiseLevelAccessory()},
        {"noise_level_radio", s.NoiseLevelRadio()},
        {"tot_timer", s.tot_timer},
        {"tpt_offset", s.tpt_offset},
    };
}

QJsonObject ContactToJson(int index, const CContactRecord& c) {
    QJsonArray parents;
    for (const std::u16string& pid : c.parent_groups) {
        parents.append(Q(pid));
    }
    return QJsonObject{
        {"index", index},
        {"name", Q(c.name)},
        {"alert_tone", c.alert_tone},
        {"pid", Q(c.pid)},
        {"contact_flags", c.contact_flags},
        {"id_in_use", (c.contact_flags & kFlagIdInUse) ? 1 : 0},
        {"in_scroll_list", (c.contact_flags & kFlagInScrollList) ? 1 : 0},
        {"show_grp_only", (c.contact_flags & kFlagShowGrpOnly) ? 1 : 0},
        {"in_scan_list", (c.contact_flags & kFlagInScanList) ? 1 : 0},
        {"private_flags", c.private_flags},
        {"see_all_groups", (c.private_flags & kPrivateSeeAllGroups) ? 1 : 0},
        {"mngr_mode", (c.private_flags & kPrivateMngrMode) ? 1 : 0},
        {"channel", c.channel},
        {"cntct_type", c.cntct_type},
        {"parent_groups", parents},
        {"home_grp", Q(c.home_grp)},
        {"group_count", c.group_count},
        {"home_group_position", c.home_group_position},
    };
}

// Reading: each helper throws std::runtime_error naming the field; FromJson turns it into *error.
struct CReader {
    const QJsonObject& obj;
    QString where;

    bool Has(const char* key) const { return obj.contains(key); }
    [[noreturn]] void Fail(const char* key, const char* why) const {
        throw std::runtime_error((where + "." + key + ": " + why).toStdString());
    }
    qint64 Integer(const char* key, qint64 min, qint64 max) const {
        const QJsonValue v = obj.value(key);
        if (!v.isDouble()) {
            Fail(key, "not a number");
        }
        const double d = v.toDouble();
        if (d != static_cast<double>(static_cast<qint64>(d)) || d < static_cast<double>(min) ||
            d > static_cast<double>(max)) {
            Fail(key, "out of range");
        }
        return static_cast<qint64>(d);
    }
    template <class T>
    void Get(const char* key, T& field) const {
        if (Has(key)) {
            field = static_cast<T>(
                Integer(key, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
        }
    }
    void Get(const char* key, std::u16string& field) const {
        if (!Has(key)) {
            return;
        }
        if (!obj.value(key).isString()) {
            Fail(key, "not a string");
        }
        field = obj.value(key).toString().toStdU16String();
    }
    QJsonArray Array(const char* key, qsizetype size) const {
        const QJsonValue v = obj.value(key);
        if (!v.isArray() || v.toArray().size() > size) {
            Fail(key, "not an array of the right size");
        }
        return v.toArray();
    }
    QJsonObject Object(const char* key) const {
        if (!obj.value(key).isObject()) {
            Fail(key, "not an object");
        }
        return obj.value(key).toObject();
    }
};

void ReadVersion(const CReader& r, CVersionBlock& v) {
    std::u16string phase;
    r.Get("firmware_phase", phase);
    if (r.Has("firmware_phase")) {
        if (phase.size() > 1 || (!phase.empty() && phase[0] > 0xFF)) {
            r.Fail("firmware_phase", "not one 8-bit character");
        }
        v.firmware_phase = phase.empty() ? 0 : static_cast<std::uint8_t>(phase[0]);
    }
    r.Get("firmware_release", v.firmware_release);
    r.Get("firmware_version", v.firmware_version);
    r.Get("firmware_revision", v.firmware_revision);
    r.Get("codeplug_structure", v.codeplug_structure);
    r.Get("codeplug_version", v.codeplug_version);
    r.Get("codeplug_dev_version", v.codeplug_dev_version);
}

void ReadLimits(const CReader& r, CRadioLimits& l) {
    r.Get("pid", l.pid);
    r.Get("valid_PID_start", l.valid_PID_start);
    r.Get("valid_PID_end", l.valid_PID_end);
    if (r.Has("public_grp_info")) {
        const QJsonArray ranges = r.Array("public_grp_info", kPublicGroupRanges);
        for (qsizetype i = 0; i < ranges.size(); ++i) {
            const QJsonObject o = ranges[i].toObject();
            const CReader rr{o, r.where + ".public_grp_info[" + QString::number(i) + "]"};
            CPublicGroupRange& range = l.public_grp_info[static_cast<std::size_t>(i)];
            rr.Get("start_pid", range.start_pid);
            rr.Get("name", range.name);
            rr.Get("list_size", range.list_size);
        }
    }
    r.Get("model", l.model);
    r.Get("clone_compatibility_version", l.clone_compatibility_version);
    r.Get("max_num_of_contacts", l.max_num_of_contacts);
    r.Get("max_num_of_private_grps", l.max_num_of_private_grps);
    r.Get("max_num_of_public_grps", l.max_num_of_public_grps);
    r.Get("max_num_of_predefined_msgs", l.max_num_of_predefined_msgs);
    r.Get("capability_flags", l.capability_flags);
    r.Get("extra_capability", l.extra_capability);
    r.Get("num_of_languages", l.num_of_languages);
    if (r.Has("languages")) {
        const QJsonArray ids = r.Array("languages", kMaxLanguages);
        for (qsizetype i = 0; i < ids.size(); ++i) {
            const QJsonObject o{{"id", ids[i]}};
            CReader{o, r.where + ".languages"}.Get("id", l.languages[static_cast<std::size_t>(i)]);
        }
    }
    r.Get("max_num_of_channels", l.max_num_of_channels);
    r.Get("max_vol_level", l.max_vol_level);
}

void ReadSettings(const CReader& r, CRadioSettings& s) {
    r.Get("contrast", s.contrast);
    r.Get("backlight", s.backlight);
    r.Get("vibracall", s.vibracall);
    r.Get("current_time", s.current_time);
    r.Get("alarm_time", s.alarm_time);
    r.Get("ringer_vol_level", s.ringer_vol_level);
    r.Get("speaker_vol_level", s.speaker_vol_level);
    r.Get("keypad_vol_level", s.keypad_vol_level);
    r.Get("alarm_vol_level", s.alarm_vol_level);
    r.Get("earpiece_vol_level", s.earpiece_vol_level);
    r.Get("language", s.language);
    r.Get("settings_flags", s.settings_flags);
    r.Get("call_forward_id", s.call_forward_id);
    r.Get("password", s.password);
    r.Get("noise_levels", s.noise_levels);
    r.Get("tot_timer", s.tot_timer);
    r.Get("tpt_offset", s.tpt_offset);
}

void ReadContact(const CReader& r, CContactRecord& c) {
    r.Get("name", c.name);
    r.Get("alert_tone", c.alert_tone);
    r.Get("pid", c.pid);
    r.Get("contact_flags", c.contact_flags);
    r.Get("private_flags", c.private_flags);
    r.Get("channel", c.channel);
    r.Get("cntct_type", c.cntct_type);
    if (r.Has("parent_groups")) {
        const QJsonArray parents = r.Array("parent_groups", kMaxParentGroups);
        for (qsizetype i = 0; i < parents.size(); ++i) {
            if (!parents[i].isString()) {
                r.Fail("parent_groups", "holds a value that is not a string");
            }
            c.parent_groups[static_cast<std::size_t>(i)] = parents[i].toString().toStdU16String();
        }
    }
    r.Get("home_grp", c.home_grp);
    r.Get("group_count", c.group_count);
    r.Get("home_group_position", c.home_group_position);
}

}  // namespace

std::string CVirtualCodeplugJson::ToJson(const CVirtualCodeplug& image) {
    QJsonArray contacts;
    for (std::size_t i = 0; i < image.contacts.size(); ++i) {
        contacts.append(ContactToJson(static_cast<int>(i), image.contacts[i]));
    }
    QJsonArray texts;
    for (const std::u16string& text : image.texts) {
        texts.append(Q(text));
    }
    const QJsonObject root{
        {"version", VersionToJson(image.version)},
        {"limits", LimitsToJson(image.limits)},
        {"settings", SettingsToJson(image.settings)},
        {"contacts", contacts},
        {"texts", texts},
        {"counters", QJsonObject{{"contacts", image.counters.contacts},
                                 {"public_groups", image.counters.public_groups},
                                 {"private_groups", image.counters.private_groups},
                                 {"messages", image.counters.messages}}},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

std::optional<CVirtualCodeplug> CVirtualCodeplugJson::FromJson(const std::string& json,
                                                               std::string* error) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(json), &parseError);
    if (!doc.isObject()) {
        if (error) {
            *error = parseError.error != QJsonParseError::NoError
                         ? parseError.errorString().toStdString()
                         : "the image is not a JSON object";
        }
        return std::nullopt;
    }
    CVirtualCodeplug image;
    try {
        const QJsonObject root = doc.object();
        const CReader top{root, "image"};
        if (top.Has("version")) {
            const QJsonObject o = top.Object("version");
            ReadVersion(CReader{o, "version"}, image.version);
        }
        if (top.Has("limits")) {
            const QJsonObject o = top.Object("limits");
            ReadLimits(CReader{o, "limits"}, image.limits);
        }
        if (top.Has("settings")) {
            const QJsonObject o = top.Object("settings");
            ReadSettings(CReader{o, "settings"}, image.settings);
        }
        if (top.Has("contacts")) {
            const QJsonArray contacts = top.Array("contacts", kMaxContacts);
            for (qsizetype i = 0; i < contacts.size(); ++i) {
                const QJsonObject o = contacts[i].toObject();
                const CReader r{o, "contacts[" + QString::number(i) + "]"};
                qint64 index = i;
                if (r.Has("index")) {
                    index = r.Integer("index", 0, kMaxContacts - 1);
                }
                ReadContact(r, image.contacts[static_cast<std::size_t>(index)]);
            }
        }
        if (top.Has("texts")) {
            const QJsonArray texts = top.Array("texts", kMaxTexts);
            for (qsizetype i = 0; i < texts.size(); ++i) {
                if (!texts[i].isString()) {
                    top.Fail("texts", "holds a value that is not a string");
                }
                image.texts[static_cast<std::size_t>(i)] = texts[i].toString().toStdU16String();
            }
        }
    } catch (const std::runtime_error& e) {
        if (error) {
            *error = e.what();
        }
        return std::nullopt;
    }
    image.Count();
    return image;
}
