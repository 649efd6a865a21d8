#include "CVirtualRadio.h"

#include <algorithm>

#include "CBlockCodec.h"
#include "RadioFrame.h"
#include "RadioProtocol.h"
#include "RadioResult.h"

namespace {

using Bytes = CVirtualRadio::Bytes;

// The records of a list in the order a radio keeps them: the ones in use, packed.
std::vector<std::size_t> ContactList(const CVirtualCodeplug& image) {
    std::vector<std::size_t> list;
    for (std::size_t i = 0; i < image.contacts.size(); ++i) {
        if (image.contacts[i].InUse()) {
            list.push_back(i);
        }
    }
    return list;
}

std::vector<const std::u16string*> TextList(const CVirtualCodeplug& image) {
    std::vector<const std::u16string*> list;
    for (const auto& text : image.texts) {
        if (!text.empty()) {
            list.push_back(&text);
        }
    }
    return list;
}

// Changes the last digit of the record's PID, in the record and in its stored bytes (name, NUL,
// alert tone, PID, NUL, ...), leaving every other byte as it was sent.
void Corrupt(CContactRecord& record, Bytes& raw) {
    const auto nameEnd = std::find(raw.begin(), raw.end(), 0);
    if (record.pid.empty() || raw.end() - nameEnd < 2) {
        return;
    }
    const auto pidEnd = std::find(nameEnd + 2, raw.end(), 0);
    if (pidEnd == nameEnd + 2) {
        return;
    }
    char16_t& digit = record.pid.back();
    digit = digit == u'9' ? u'0' : static_cast<char16_t>(digit + 1);
    *(pidEnd - 1) = static_cast<std::uint8_t>(digit);
}

bool Counts(int limit, int seen) {
    return limit < 0 || seen < limit;
}

}  // namespace

CVirtualCodeplug CVirtualRadio::DefaultImage() {
    CVirtualCodeplug image;
    auto& l = image.limits;
    l.pid = u"10000001";
    l.public_grp_info[0].start_pid = u"17179869183";
    l.public_grp_info[0].list_size = 100;
    l.public_grp_info[0].name = u"Public";
    l.model = u"Q410";
    l.clone_compatibility_version = 10;
    l.max_num_of_contacts = kMaxContacts;
    l.max_num_of_private_grps = 50;
    l.max_num_of_public_grps = 50;
    l.max_num_of_predefined_msgs = kMaxTexts;
    l.capability_flags = 0xFFFF6F00;  // every feature, vibration allowed
    l.num_of_languages = 3;
    l.languages = {0, 1, 2, 0, 0, 0};
    l.max_num_of_channels = 7;
    l.max_vol_level = 8;
    return image;
}

CVirtualRadio::CVirtualRadio(CVirtualCodeplug image, CSimFaults faults)
    : m_image(std::move(image)), m_faults(faults) {}

void CVirtualRadio::SetCapture(std::u16string pid, int waitingPolls) {
    std::lock_guard lock(m_mutex);
    m_capturePid = std::move(pid);
    m_captureWaitingPolls = waitingPolls;
}

void CVirtualRadio::SetFinishDelayMs(int ms) {
    std::lock_guard lock(m_mutex);
    m_finishDelayMs = ms;
}

int CVirtualRadio::FinishDelayMs() const {
    std::lock_guard lock(m_mutex);
    return m_finishDelayMs;
}

int CVirtualRadio::CommittedWrites() const {
    std::lock_guard lock(m_mutex);
    return m_commits;
}

CVirtualCodeplug CVirtualRadio::Image() const {
    std::lock_guard lock(m_mutex);
    return m_image;
}

std::vector<std::uint8_t> CVirtualRadio::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<Bytes> CVirtualRadio::RequestData() const {
    std::lock_guard lock(m_mutex);
    return m_requestData;
}

bool CVirtualRadio::HungUp() const {
    std::lock_guard lock(m_mutex);
    return m_hungUp;
}

Bytes CVirtualRadio::Handle(std::uint8_t opcode, const Bytes& data) {
    std::lock_guard lock(m_mutex);
    m_requests.push_back(opcode);
    m_requestData.push_back(data);
    ++m_frames;
    if (m_faults.hangupAfterFrames >= 0 && m_frames > m_faults.hangupAfterFrames) {
        m_hungUp = true;
        return {};
    }
    if (m_faults.silenceAfterFrames >= 0 && m_frames > m_faults.silenceAfterFrames) {
        return {};
    }
    if (m_faults.silentFromFrame > 0 && m_frames >= m_faults.silentFromFrame &&
        m_frames < m_faults.silentFromFrame + m_faults.silentFrames) {
        return {};
    }
    if (m_faults.reject != CSimFaults::Reject::kNone &&
        (m_faults.rejectOpcode < 0 || m_faults.rejectOpcode == opcode)) {
        switch (m_faults.reject) {
            case CSimFaults::Reject::kQ:
                return Frame('A', {'Q', opcode, m_faults.rejectValue});
            case CSimFaults::Reject::kS:
                return Frame('A', {'S', m_faults.rejectValue});
            case CSimFaults::Reject::kType8C:
                return Frame(0x8C, {m_faults.rejectValue});
            case CSimFaults::Reject::kNone:
                break;
        }
    }
    return Answer(opcode, data);
}

Bytes CVirtualRadio::Answer(std::uint8_t opcode, const Bytes& data) {
    switch (opcode) {
        case kOpGetVersion: {
            const auto& v = m_image.version;
            return Frame('A',
                         {'E', static_cast<std::uint8_t>(v.firmware_release),
                          static_cast<std::uint8_t>(v.firmware_version),
                          static_cast<std::uint8_t>(v.firmware_revision),
                          static_cast<std::uint8_t>(v.codeplug_structure),
                          static_cast<std::uint8_t>(v.codeplug_version),
                          static_cast<std::uint8_t>(v.codeplug_dev_version), v.firmware_phase});
        }
        case kOpOpenLink:
            m_pending.reset();
            m_contactsStarted = false;
            m_textsStarted = false;
            return Frame('A', {'P'});
        case kOpReadLimits: {
            Bytes reply{'F'};
            // Texts from a radio's bytes or a loaded profile; what cannot be held goes as low
            // bytes.
            Bytes block;
            CBlockCodec::EncodeLimits(m_image.limits, block);
            reply.insert(reply.end(), block.begin(), block.end());
            return Frame('A', reply);
        }
        case kOpReadSettings: {
            Bytes reply{'G'};
            Bytes block;
            CBlockCodec::EncodeSettings(m_image.settings, block);
            reply.insert(reply.end(), block.begin(), block.end());
            return Frame('A', reply);
        }
        case kOpReadContact:
            return ReadListItem('H', data, true);
        case kOpReadTextMessage:
            return ReadListItem('I', data, false);
        case kOpWriteSettings:
        case kOpWriteContact:
        case kOpWriteTextMessage:
            StoreWrite(opcode, data);
            return Frame('A', {'P'});
        case kOpFinishWrite:
            if (m_pending) {
                m_image = *m_pending;
                m_pending.reset();
                ++m_commits;
                if (m_contactsStarted) {
                    m_raw = m_pendingRaw;
                }
            }
            return Frame('A', {'P'});
        case kOpResetRadio: {
            const CVirtualCodeplug factory;
            m_image.contacts = factory.contacts;
            m_image.texts = factory.texts;
            m_image.settings = factory.settings;
            m_pending.reset();
            m_raw = {};
            return Frame('A', {'P'});
        }
        case kOpStartIdCapture:
            m_capturing = true;
            m_polls = 0;
            return Frame('A', {'S', 1});
        case kOpPollIdCapture: {
            ++m_polls;
            if (!m_capturing || m_capturePid.empty() || m_polls <= m_captureWaitingPolls) {
                return Frame('A', {'S', 1});
            }
            m_capturing = false;
            Bytes reply{'S', 2};
            for (char16_t c : m_capturePid) {
                reply.push_back(static_cast<std::uint8_t>(c));
            }
            reply.push_back(0);
            return Frame('A', reply);
        }
        default:
            return Frame(0x8C, {opcode});
    }
}

Bytes CVirtualRadio::ReadListItem(std::uint8_t letter, const Bytes& data, bool contacts) {
    const std::size_t total = contacts ? ContactList(m_image).size() : TextList(m_image).size();
    if (m_faults.stuckList && total > 0) {
        Bytes block;
        if (contacts) {
            CBlockCodec::EncodeContact(m_image.contacts[ContactList(m_image)[0]], block);
        } else {
            CBlockCodec::EncodeText(*TextList(m_image)[0], block);
        }
        Bytes reply{letter, 1, 255};
        reply.insert(reply.end(), block.begin(), block.end());
        return Frame('A', reply);
    }
    std::size_t index = data.size() >= 2 ? data[0] : 0;
    // The first request, [0, 0], asks for the start of the list.
    if (index == 0 && data.size() >= 2 && data[1] == 0) {
        index = 1;
    }
    if (index == 0 || index > total) {
        return Frame('A', {letter, 0, 0});
    }
    Bytes reply{letter, static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(total)};
    Bytes block;
    if (contacts) {
        const std::size_t slot = ContactList(m_image)[index - 1];
        CContactRecord record = m_image.contacts[slot];
        if (m_raw[slot].empty()) {
            CBlockCodec::EncodeContact(record, block);
        } else {
            block = m_raw[slot];
        }
    } else {
        CBlockCodec::EncodeText(*TextList(m_image)[index - 1], block);
    }
    reply.insert(reply.end(), block.begin(), block.end());
    return Frame('A', reply);
}

void CVirtualRadio::StoreWrite(std::uint8_t opcode, const Bytes& data) {
    if (!m_pending) {
        m_pending = m_image;
    }
    const std::span<const std::uint8_t> block(data);
    if (opcode == kOpWriteSettings) {
        CBlockCodec::DecodeSettings(block, m_pending->settings);
        return;
    }
    if (data.size() < 2) {
        return;
    }
    const std::size_t index = data[0];
    if (opcode == kOpWriteContact) {
        if (!m_contactsStarted) {
            m_pending->contacts = CVirtualCodeplug{}.contacts;
            m_pendingRaw = {};
            m_contactsStarted = true;
        }
        if (index >= 1 && index <= kMaxContacts &&
            CBlockCodec::DecodeContact(block.subspan(2), m_pending->contacts[index - 1]) ==
                kRadioSuccess) {
            m_pendingRaw[index - 1].assign(block.begin() + 2, block.end());
            if (static_cast<int>(index) == m_faults.corruptContact) {
                Corrupt(m_pending->contacts[index - 1], m_pendingRaw[index - 1]);
            }
        }
        return;
    }
    if (!m_textsStarted) {
        m_pending->texts = CVirtualCodeplug{}.texts;
        m_textsStarted = true;
    }
    if (index >= 1 && index <= kMaxTexts) {
        CBlockCodec::DecodeText(block.subspan(2), m_pending->texts[index - 1]);
    }
}

Bytes CVirtualRadio::Frame(std::uint8_t type, const Bytes& data) {
    const int reply = m_replies++;
    Bytes frame{Counts(m_faults.wrongLeadReplies, reply) && m_faults.wrongLeadReplies != 0
                    ? std::uint8_t{0x51}
                    : kReplyLead};
    for (int i = 0; i < m_faults.noiseBytes; ++i) {
        frame.push_back(static_cast<std::uint8_t>((0x13 + 0x35 * i) % 0xF0));
    }
    const std::size_t sumFrom = frame.size();
    const std::size_t n = data.size() + 1;
    if (n <= 14) {
        frame.push_back(static_cast<std::uint8_t>(0xF0 + n));
        frame.push_back(type);
    } else {
        frame.push_back(0xFF);
        frame.push_back(type);
        frame.push_back(static_cast<std::uint8_t>(n >> 8));
        frame.push_back(static_cast<std::uint8_t>(n & 0xFF));
    }
    frame.insert(frame.end(), data.begin(), data.end());
    std::uint8_t checksum = FrameChecksum(std::span(frame).subspan(sumFrom));
    if (Counts(m_faults.badChecksumReplies, reply) && m_faults.badChecksumReplies != 0) {
        checksum = static_cast<std::uint8_t>(checksum ^ 0x5A);
    }
    frame.push_back(checksum);
    return frame;
}
