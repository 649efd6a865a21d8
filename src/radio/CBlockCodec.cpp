#include "CBlockCodec.h"

#include <algorithm>

#include "RadioResult.h"
#include "RadioText.h"

namespace {

constexpr std::uint64_t kHighestPid = 17179869183ULL;  // 2^34 - 1
constexpr std::uint64_t kValidPidFloor = 10000000ULL;
constexpr std::uint64_t kValidPidCeiling = 17179867883ULL;
constexpr std::size_t kModelBytes = 4;
constexpr std::size_t kPasswordBytes = 5;
constexpr std::size_t kCapturedPidChars = 63;

// Reads fields front to back and remembers when the data ran out.
class CByteReader {
  public:
    explicit CByteReader(std::span<const std::uint8_t> data) : m_data(data) {}

    bool Ok() const { return m_ok; }
    std::size_t Left() const { return m_data.size() - m_pos; }
    std::size_t Position() const { return m_pos; }

    std::uint8_t Byte() {
        if (Left() < 1) {
            m_ok = false;
            return 0;
        }
        return m_data[m_pos++];
    }
    std::uint32_t BigEndian32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v = (v << 8) | Byte();
        }
        return v;
    }
    std::uint32_t LittleEndian32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        }
        return v;
    }
    // A NUL-terminated text; at most budget bytes of it are kept.
    std::u16string Text(std::size_t budget) {
        const auto rest = m_data.subspan(m_pos);
        const auto nul = std::find(rest.begin(), rest.end(), std::uint8_t{0});
        if (nul == rest.end()) {
            m_ok = false;
            m_pos = m_data.size();
            return {};
        }
        const auto length = static_cast<std::size_t>(nul - rest.begin());
        m_pos += length + 1;
        return Widen(rest.first(std::min(length, budget)));
    }
    // A text in a fixed number of bytes, NUL-padded when shorter.
    std::u16string FixedText(std::size_t bytes) {
        if (Left() < bytes) {
            m_ok = false;
            m_pos = m_data.size();
            return {};
        }
        const auto field = m_data.subspan(m_pos, bytes);
        m_pos += bytes;
        const auto nul = std::find(field.begin(), field.end(), std::uint8_t{0});
        return Widen(field.first(static_cast<std::size_t>(nul - field.begin())));
    }

    static std::u16string Widen(std::span<const std::uint8_t> bytes) {
        std::u16string text;
        text.reserve(bytes.size());
        for (std::uint8_t b : bytes) {
            text.push_back(static_cast<char16_t>(b));
        }
        return text;
    }

  private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}
void PutLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
}
// Appends texts as radio bytes and remembers whether one of them could not be converted.
class CTextWriter {
  public:
    explicit CTextWriter(std::vector<std::uint8_t>& out) : m_out(out) {}

    // The text cut to the field's budget, with its NUL.
    void Text(std::u16string_view text, std::size_t budget) {
        std::vector<std::uint8_t> bytes(budget + 1, 0);
        Note(WideToRadio(text, bytes));
        const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
        m_out.insert(m_out.end(), bytes.begin(), end + 1);
    }
    // A text in a fixed number of bytes, NUL-padded.
    void FixedText(std::u16string_view text, std::size_t bytes) {
        std::vector<std::uint8_t> field(bytes + 1, 0);
        Note(WideToRadio(text, field));
        m_out.insert(m_out.end(), field.begin(),
                     field.begin() + static_cast<std::ptrdiff_t>(bytes));
    }
    int Result() const { return m_ok ? kRadioSuccess : kTextToRadio; }

  private:
    void Note(int status) { m_ok = m_ok && status == kRadioTextOk; }
    std::vector<std::uint8_t>& m_out;
    bool m_ok = true;
};

}  // namespace

std::optional<std::uint64_t> CBlockCodec::DecimalValue(std::u16string_view text) {
    if (text.empty() || text.size() > kPidBudget) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    }
    return value;
}

int CBlockCodec::DecodeVersion(std::span<const std::uint8_t> block, CVersionBlock& version) {
    if (block.size() < 7) {
        return kOperationFailed;
    }
    version.firmware_release = static_cast<std::int8_t>(block[0]);
    version.firmware_version = static_cast<std::int8_t>(block[1]);
    version.firmware_revision = static_cast<std::int8_t>(block[2]);
    version.codeplug_structure = static_cast<std::int8_t>(block[3]);
    version.codeplug_version = static_cast<std::int8_t>(block[4]);
    version.codeplug_dev_version = static_cast<std::int8_t>(block[5]);
    version.firmware_phase = block[6];
    return kRadioSuccess;
}

int CBlockCodec::DecodeLimits(std::span<const std::uint8_t> block, CRadioLimits& limits) {
    CByteReader in(block);
    CRadioLimits out = limits;
    out.pid = in.Text(kPidBudget);
    const std::u16string validStart = in.Text(kPidBudget);
    const std::u16string validEnd = in.Text(kPidBudget);
    const std::u16string publicStart = in.Text(kPidBudget);
    const std::uint8_t publicSize = in.Byte();
    out.model = in.FixedText(kModelBytes);
    out.clone_compatibility_version = in.Byte();
    out.max_num_of_contacts = in.Byte();
    out.max_num_of_private_grps = in.Byte();
    out.max_num_of_public_grps = in.Byte();
    out.max_num_of_predefined_msgs = in.Byte();
    out.capability_flags = in.LittleEndian32();
    out.extra_capability = in.LittleEndian32();
    const std::uint8_t languages = in.Byte();
    // The list holds six; the bytes after it are found by the count as sent.
    out.num_of_languages = std::min<std::uint8_t>(languages, kMaxLanguages);
    for (int i = 0; i < languages; ++i) {
        const std::uint8_t id = in.Byte();
        if (i < kMaxLanguages) {
            out.languages[static_cast<std::size_t>(i)] = id;
        }
    }
    out.max_num_of_channels = in.Byte();
    out.max_vol_level = in.Byte();
    if (!in.Ok()) {
        return kOperationFailed;
    }

    const auto start = DecimalValue(validStart);
    const auto end = DecimalValue(validEnd);
    if (start && end && *start > kValidPidFloor && *end > kValidPidFloor &&
        *start <= kValidPidCeiling && *end <= kValidPidCeiling && *start < *end) {
        out.valid_PID_start = validStart;
        out.valid_PID_end = validEnd;
    }
    // A public range is taken when it lies wholly within the PIDs 1 to 2^34 - 1.
    const auto publicValue = DecimalValue(publicStart);
    if (publicValue && *publicValue <= kHighestPid && *publicValue >= publicSize) {
        out.public_grp_info[0].start_pid = publicStart;
        out.public_grp_info[0].list_size = publicSize;
        out.public_grp_info[0].name = u"Public";
    }
    limits = out;
    return kRadioSuccess;
}

int CBlockCodec::EncodeLimits(const CRadioLimits& limits, std::vector<std::uint8_t>& out) {
    out.clear();
    CTextWriter text(out);
    text.Text(limits.pid, kPidBudget);
    text.Text(limits.valid_PID_start, kPidBudget);
    text.Text(limits.valid_PID_end, kPidBudget);
    text.Text(limits.public_grp_info[0].start_pid, kPidBudget);
    out.push_back(limits.public_grp_info[0].list_size);
    text.FixedText(limits.model, kModelBytes);
    out.push_back(limits.clone_compatibility_version);
    out.push_back(limits.max_num_of_contacts);
    out.push_back(limits.max_num_of_private_grps);
    out.push_back(limits.max_num_of_public_grps);
    out.push_back(limits.max_num_of_predefined_msgs);
    PutLittleEndian32(out, limits.capability_flags);
    PutLittleEndian32(out, limits.extra_capability);
    const auto languages = std::min<std::uint8_t>(limits.num_of_languages, kMaxLanguages);
    out.push_back(languages);
    out.insert(out.end(), limits.languages.begin(), limits.languages.begin() + languages);
    out.push_back(limits.max_num_of_channels);
    out.push_back(limits.max_vol_level);
    return text.Result();
}

int CBlockCodec::DecodeSettings(std::span<const std::uint8_t> block, CRadioSettings& settings) {
    CByteReader in(block);
    CRadioSettings out = settings;
    out.contrast = in.Byte();
    out.backlight = in.BigEndian32();
    out.vibracall = in.Byte();
    out.current_time = in.BigEndian32();
    out.alarm_time = in.BigEndian32();
    out.ringer_vol_level = in.Byte();
    out.speaker_vol_level = in.Byte();
    out.keypad_vol_level = in.Byte();
    out.alarm_vol_level = in.Byte();
    out.earpiece_vol_level = in.Byte();
    out.language = in.Byte();
    out.settings_flags = in.LittleEndian32();
    out.call_forward_id = in.Text(kPidBudget);
    if (!in.Ok()) {
        return kOperationFailed;
    }
    // Older radios end the block after the call-forward PID; the rest then keeps its defaults.
    // Bytes missing at the very end read as zero, as they did from the zeroed reply buffer.
    if (in.Left() > 0) {
        std::array<std::uint8_t, kPasswordBytes + 3> tail{};
        for (std::size_t i = 0; i < tail.size() && in.Left() > 0; ++i) {
            tail[i] = in.Byte();
        }
        out.password = CByteReader(std::span(tail).first(kPasswordBytes)).FixedText(4);
        out.tot_timer = tail[kPasswordBytes];
        out.tpt_offset = tail[kPasswordBytes + 1];
        out.noise_levels = tail[kPasswordBytes + 2];
    }
    settings = out;
    return kRadioSuccess;
}

int CBlockCodec::EncodeSettings(const CRadioSettings& settings, std::vector<std::uint8_t>& out) {
    out.clear();
    CTextWriter text(out);
    out.push_back(settings.contrast);
    PutBigEndian32(out, settings.backlight);
    out.push_back(settings.vibracall);
    PutBigEndian32(out, settings.current_time);
    PutBigEndian32(out, settings.alarm_time);
    out.push_back(settings.ringer_vol_level);
    out.push_back(settings.speaker_vol_level);
    out.push_back(settings.keypad_vol_level);
    out.push_back(settings.alarm_vol_level);
    out.push_back(settings.earpiece_vol_level);
    out.push_back(settings.language);
    PutLittleEndian32(out, settings.settings_flags);
    text.Text(settings.call_forward_id, kPidBudget);
    text.FixedText(settings.password, kPasswordBytes);
    out.push_back(settings.tot_timer);
    out.push_back(settings.tpt_offset);
    out.push_back(settings.noise_levels);
    return text.Result();
}

int CBlockCodec::DecodeContact(std::span<const std::uint8_t> block, CContactRecord& record) {
    CByteReader in(block);
    CContactRecord out;
    out.name = in.Text(kNameBudget);
    out.alert_tone = in.Byte();
    out.pid = in.Text(kPidBudget);
    out.contact_flags = in.Byte();
    out.channel = in.Byte();
    out.cntct_type = in.Byte();
    if (in.Ok() && out.cntct_type == kContactPrivate) {
        out.private_flags = kPrivateSeeAllGroups;
        out.group_count = in.Byte();
        out.home_group_position = in.Byte();
        std::size_t free = 0;
        for (int i = 1; i <= out.group_count && in.Ok(); ++i) {
            std::u16string group = in.Text(kPidBudget);
            if (i == out.home_group_position) {
                out.home_grp = std::move(group);
            } else if (free < out.parent_groups.size()) {
                out.parent_groups[free++] = std::move(group);
            }
        }
    }
    if (!in.Ok()) {
        return kOperationFailed;
    }
    record = std::move(out);
    return kRadioSuccess;
}

int CBlockCodec::EncodeContact(CContactRecord& record, std::vector<std::uint8_t>& out) {
    out.clear();
    CTextWriter text(out);
    text.Text(record.name, kNameBudget);
    out.push_back(record.alert_tone);
    text.Text(record.pid, kPidBudget);
    out.push_back(record.contact_flags);
    out.push_back(record.channel);
    out.push_back(record.cntct_type);
    if (record.cntct_type != kContactPrivate) {
        return text.Result();
    }
    std::vector<std::u16string_view> groups;
    std::uint8_t homePosition = record.home_group_position;
    bool homeListed = false;
    for (const auto& group : record.parent_groups) {
        if (group.empty()) {
            continue;
        }
        groups.push_back(group);
        if (!record.home_grp.empty() && group == record.home_grp && !homeListed) {
            homeListed = true;
            homePosition = static_cast<std::uint8_t>(groups.size());
        }
    }
    if (!record.home_grp.empty() && !homeListed) {
        groups.push_back(record.home_grp);
        homePosition = static_cast<std::uint8_t>(groups.size());
    }
    if (!record.home_grp.empty()) {
        record.home_group_position = homePosition;
    }
    out.push_back(static_cast<std::uint8_t>(groups.size()));
    out.push_back(homePosition);
    for (auto group : groups) {
        text.Text(group, kPidBudget);
    }
    return text.Result();
}

int CBlockCodec::DecodeText(std::span<const std::uint8_t> block, std::u16string& text) {
    CByteReader in(block);
    std::u16string out = in.Text(kTextBudget);
    if (!in.Ok()) {
        return kOperationFailed;
    }
    text = std::move(out);
    return kRadioSuccess;
}

int CBlockCodec::EncodeText(std::u16string_view text, std::vector<std::uint8_t>& out) {
    out.clear();
    CTextWriter writer(out);
    writer.Text(text, kTextBudget);
    return writer.Result();
}

std::u16string CBlockCodec::DecodeCapturedPid(std::span<const std::uint8_t> block) {
    const auto nul = std::find(block.begin(), block.end(), std::uint8_t{0});
    const auto length = static_cast<std::size_t>(nul - block.begin());
    return CByteReader::Widen(block.first(std::min(length, kCapturedPidChars)));
}
