#include "CWriteVerify.h"

#include <algorithm>
#include <functional>

#include "CBlockCodec.h"
#include "MessageId.h"
#include "RadioResult.h"
#include "StringTable.h"
#include "TextCodec.h"

namespace {

using Bytes = CRadioBlocks::Bytes;

// Bytes of current_time in the settings block: the radio's clock runs on after the write.
constexpr std::size_t kClockOffset = 6;
constexpr std::size_t kClockSize = 4;

// A field's name and its value as text.
struct FieldValue {
    const char* name;
    std::string value;
};

std::string Text(const std::u16string& text) {
    return Utf16ToUtf8(text);
}

std::string Number(std::uint64_t value) {
    return std::to_string(value);
}

std::string Groups(const CContactRecord& record) {
    std::string list;
    for (const auto& group : record.parent_groups) {
        if (!group.empty()) {
            list += (list.empty() ? "" : ",") + Text(group);
        }
    }
    return "[" + list + "]";
}

std::vector<FieldValue> SettingsFields(const CRadioSettings& s) {
    return {{"contrast", Number(s.contrast)},
            {"backlight", Number(s.backlight)},
            {"vibracall", Number(s.vibracall)},
            {"alarm_time", Number(s.alarm_time)},
            {"ringer_vol_level", Number(s.ringer_vol_level)},
            {"speaker_vol_level", Number(s.speaker_vol_level)},
            {"keypad_vol_level", Number(s.keypad_vol_level)},
            {"alarm_vol_level", Number(s.alarm_vol_level)},
            {"earpiece_vol_level", Number(s.earpiece_vol_level)},
            {"language", Number(s.language)},
            {"settings_flags", Number(s.settings_flags)},
            {"call_forward_id", Text(s.call_forward_id)},
            {"password", Text(s.password)},
            {"tot_timer", Number(s.tot_timer)},
            {"tpt_offset", Number(s.tpt_offset)},
            {"noise_levels", Number(s.noise_levels)}};
}

std::vector<FieldValue> ContactFields(const CContactRecord& c) {
    return {{"name", Text(c.name)},
            {"alert_tone", Number(c.alert_tone)},
            {"pid", Text(c.pid)},
            {"contact_flags", Number(c.contact_flags)},
            {"channel", Number(c.channel)},
            {"cntct_type", Number(c.cntct_type)},
            {"parent_groups", Groups(c)},
            {"home_grp", Text(c.home_grp)},
            {"home_group_position", Number(c.home_group_position)}};
}

// Lines for each field whose value differs; line(name, radio value, sent value).
std::vector<std::string> FieldLines(
    const std::vector<FieldValue>& radio, const std::vector<FieldValue>& sent,
    const std::function<std::string(const char*, const std::string&, const std::string&)>& line) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < radio.size() && i < sent.size(); ++i) {
        if (radio[i].value != sent[i].value) {
            lines.push_back(line(radio[i].name, radio[i].value, sent[i].value));
        }
    }
    return lines;
}

Bytes WithoutClock(Bytes settings) {
    if (settings.size() >= kClockOffset + kClockSize) {
        std::fill_n(settings.begin() + kClockOffset, kClockSize, 0);
    }
    return settings;
}

void CompareSettings(const Bytes& sent, const Bytes& radio, std::vector<std::string>& out) {
    if (WithoutClock(sent) == WithoutClock(radio)) {
        return;
    }
    const auto& table = CStringTable::Instance();
    CRadioSettings sentSettings;
    CRadioSettings radioSettings;
    std::vector<std::string> lines;
    if (CBlockCodec::DecodeSettings(sent, sentSettings) == kRadioSuccess &&
        CBlockCodec::DecodeSettings(radio, radioSettings) == kRadioSuccess) {
        lines = FieldLines(SettingsFields(radioSettings), SettingsFields(sentSettings),
                           [&](const char* name, const std::string& r, const std::string& s) {
                               return table.Format(MessageId::kVerifySettingDiffers, {name, r, s});
                           });
    }
    // Bytes that differ where no field does (padding, a block cut short) still differ.
    if (lines.empty()) {
        lines.push_back(LoadString(MessageId::kVerifySettingsBlockDiffers));
    }
    out.insert(out.end(), lines.begin(), lines.end());
}

void CompareContact(std::size_t index, const Bytes& sent, const Bytes& radio,
                    std::vector<std::string>& out) {
    if (sent == radio) {
        return;
    }
    const auto& table = CStringTable::Instance();
    CContactRecord sentRecord;
    CContactRecord radioRecord;
    const bool decoded = CBlockCodec::DecodeContact(sent, sentRecord) == kRadioSuccess;
    const bool radioDecoded = CBlockCodec::DecodeContact(radio, radioRecord) == kRadioSuccess;
    const std::string number = std::to_string(index + 1);
    const std::string name = Text(sentRecord.name);
    std::vector<std::string> lines;
    if (decoded && radioDecoded) {
        lines = FieldLines(
            ContactFields(radioRecord), ContactFields(sentRecord),
            [&](const char* field, const std::string& r, const std::string& s) {
                return table.Format(MessageId::kVerifyContactDiffers, {number, name, field, r, s});
            });
    }
    if (lines.empty()) {
        lines.push_back(table.Format(MessageId::kVerifyContactBlockDiffers, {number, name}));
    }
    out.insert(out.end(), lines.begin(), lines.end());
}

void CompareText(std::size_t index, const Bytes& sent, const Bytes& radio,
                 std::vector<std::string>& out) {
    if (sent == radio) {
        return;
    }
    std::u16string sentText;
    std::u16string radioText;
    CBlockCodec::DecodeText(sent, sentText);
    CBlockCodec::DecodeText(radio, radioText);
    out.push_back(CStringTable::Instance().Format(
        MessageId::kVerifyTextDiffers,
        {std::to_string(index + 1), Text(radioText), Text(sentText)}));
}

}  // namespace

std::vector<std::string> CWriteVerify::Differences(const CRadioBlocks& sent,
                                                   const CRadioBlocks& radio) {
    const auto& table = CStringTable::Instance();
    std::vector<std::string> out;
    CompareSettings(sent.settings, radio.settings, out);
    if (sent.contacts.size() != radio.contacts.size()) {
        out.push_back(table.Format(
            MessageId::kVerifyContactCount,
            {std::to_string(radio.contacts.size()), std::to_string(sent.contacts.size())}));
    }
    for (std::size_t i = 0; i < std::min(sent.contacts.size(), radio.contacts.size()); ++i) {
        CompareContact(i, sent.contacts[i], radio.contacts[i], out);
    }
    if (sent.texts.size() != radio.texts.size()) {
        out.push_back(
            table.Format(MessageId::kVerifyTextCount,
                         {std::to_string(radio.texts.size()), std::to_string(sent.texts.size())}));
    }
    for (std::size_t i = 0; i < std::min(sent.texts.size(), radio.texts.size()); ++i) {
        CompareText(i, sent.texts[i], radio.texts[i], out);
    }
    return out;
}
