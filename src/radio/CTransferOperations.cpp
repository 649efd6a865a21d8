#include "CTransferOperations.h"

#include <cstdio>
#include <thread>

#include "CBlockCodec.h"
#include "CTransferSession.h"
#include "CWritePlan.h"
#include "RadioResult.h"

namespace {

constexpr int kCaptureStarted = 1;
constexpr std::uint8_t kCaptureWaiting = 1;

// After a read, a private contact keeps only parent groups that are private groups of the radio,
// and a home group that exists at all.
void FixUpContacts(CVirtualCodeplug& image) {
    const int limit = std::min<int>(image.limits.max_num_of_contacts, kMaxContacts);
    for (int i = 0; i < limit; ++i) {
        auto& record = image.contacts[static_cast<std::size_t>(i)];
        if (record.cntct_type != kContactPrivate) {
            continue;
        }
        int emptied = -1;
        int firstEmpty = -1;
        for (int g = 0; g < kMaxParentGroups; ++g) {
            auto& group = record.parent_groups[static_cast<std::size_t>(g)];
            if (!group.empty() && image.FindContactByPid(group, kContactPrivateGroup) < 0) {
                group.clear();
                emptied = emptied < 0 ? g : emptied;
            }
            if (group.empty() && firstEmpty < 0) {
                firstEmpty = g;
            }
        }
        const int free = emptied >= 0 ? emptied : firstEmpty;
        if (record.home_grp.empty()) {
            continue;
        }
        const bool privateGroup =
            image.FindContactByPid(record.home_grp, kContactPrivateGroup) >= 0;
        if (!privateGroup && image.FindContactByPid(record.home_grp, kContactPublicGroup) < 0) {
            record.home_grp.clear();
        } else if (privateGroup && free >= 0) {
            record.parent_groups[static_cast<std::size_t>(free)] = record.home_grp;
        }
    }
}

// Sleeps, giving up early when the operation is cancelled.
void PauseUnlessCancelled(const CTransferContext& context, std::chrono::milliseconds pause) {
    const auto end = std::chrono::steady_clock::now() + pause;
    while (!context.Cancelled() && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            end - std::chrono::steady_clock::now(), std::chrono::milliseconds(20)));
    }
}

// Reads a list (contacts when limit is kMaxContacts, else texts): [0, 0] asks for the start, each
// reply names its index r and the list's total u, and the next request is [r + 1, u]. A radio that
// does not move forward fails the read instead of looping; as indexes rise and stay within limit,
// no more than limit records are read.
template <class Decode>
bool ReadList(CTransferSession& session, int limit, Decode decode) {
    RadioProtocol& protocol = session.Protocol();
    const bool contacts = limit == kMaxContacts;
    int i = 0;
    int t = 0;
    while (session.Proceed() && t >= i) {
        const auto index = static_cast<std::uint8_t>(i);
        const auto total = static_cast<std::uint8_t>(t);
        if (!session.Check(contacts ? protocol.ReadContact(index, total)
                                    : protocol.ReadTextMessage(index, total))) {
            break;
        }
        const auto reply = protocol.Reply().Data();
        const int r = reply.size() > 1 ? reply[1] : 0;
        const int u = reply.size() > 2 ? reply[2] : 0;
        if (u == 0 || r == 0 || r > limit || u < r) {
            break;
        }
        if (r < i) {
            session.Fail(kOperationFailed);
            break;
        }
        if (!session.Check(decode(r, reply.subspan(3)))) {
            break;
        }
        session.Record(r, std::min(u, limit));
        t = u;
        i = r + 1;
    }
    return session.Proceed();
}

}  // namespace

std::string CTransferOperations::FirmwareVersionText(const CVersionBlock& version) {
    char text[32];
    std::snprintf(text, sizeof text, "%c%02X.%02d.%02d", static_cast<char>(version.firmware_phase),
                  static_cast<unsigned>(static_cast<std::uint8_t>(version.firmware_release)),
                  version.firmware_version, version.firmware_revision);
    std::string result = text;
    result.erase(0, result.find_first_not_of("DR"));
    return result;
}

int CTransferOperations::ReadRadioVersion(const std::string& port, CVersionBlock& version) {
    CTransferSession session(m_context, port);
    CVirtualCodeplug scratch;
    session.Identify(scratch);
    if (session.Proceed() && session.Check(session.Protocol().GetVersion())) {
        CVersionBlock report;
        if (session.Check(
                CBlockCodec::DecodeVersion(session.Protocol().Reply().Data().subspan(1), report))) {
            version = report;
        }
    }
    return session.Finish();
}

int CTransferOperations::ReadRadioPassword(const std::string& port, std::u16string& password) {
    CTransferSession session(m_context, port);
    CVirtualCodeplug scratch;
    session.Identify(scratch);
    if (session.Proceed() && session.Check(session.Protocol().ReadSettings())) {
        if (CBlockCodec::DecodeSettings(session.Protocol().Reply().Data().subspan(1),
                                        scratch.settings) != kRadioSuccess) {
            session.Fail(kPasswordUnavailable);
        } else {
            password = scratch.settings.password;
        }
    }
    return session.Finish();
}

int CTransferOperations::ReadOwnPid(const std::string& port, std::u16string& pid) {
    CTransferSession session(m_context, port);
    CVirtualCodeplug scratch;
    session.Identify(scratch);
    session.CheckCompatibility(scratch);
    if (session.Proceed()) {
        pid = scratch.limits.pid;
        m_context.SetCurrentRadioPid(pid);
    }
    return session.Finish();
}

int CTransferOperations::ReadIdentity(const std::string& port, CVirtualCodeplug& radio) {
    CTransferSession session(m_context, port);
    CVirtualCodeplug scratch;
    session.Identify(scratch);
    session.CheckCompatibility(scratch);
    if (session.Proceed()) {
        radio.version = scratch.version;
        radio.limits = scratch.limits;
    }
    return session.Finish();
}

int CTransferOperations::ReadCodeplug(const std::string& port, CVirtualCodeplug& destination) {
    CTransferSession session(m_context, port);
    RadioProtocol& protocol = session.Protocol();
    CVirtualCodeplug q;
    session.Identify(q);
    if (!session.Proceed()) {
        return session.Finish();
    }
    session.Progress(20);

    CVirtualCodeplug scratch;
    session.CheckCompatibility(scratch);
    if (!session.Proceed()) {
        return session.Finish();
    }
    q.limits = scratch.limits;
    session.Progress(40);

    if (!session.Check(protocol.ReadSettings()) ||
        !session.Check(
            CBlockCodec::DecodeSettings(protocol.Reply().Data().subspan(1), q.settings))) {
        return session.Finish();
    }
    session.Progress(60);

    if (!ReadList(session, kMaxContacts, [&](int r, std::span<const std::uint8_t> record) {
            return CBlockCodec::DecodeContact(record, q.contacts[static_cast<std::size_t>(r - 1)]);
        })) {
        return session.Finish();
    }
    FixUpContacts(q);
    session.Progress(80);

    ReadList(session, kMaxTexts, [&](int r, std::span<const std::uint8_t> text) {
        return CBlockCodec::DecodeText(text, q.texts[static_cast<std::size_t>(r - 1)]);
    });
    if (session.Proceed()) {
        q.OwnRecordFromSettings();
        destination = q;
    }
    return session.Finish();
}

int CTransferOperations::ReadBack(const std::string& port, CRadioBlocks& radio) {
    CTransferSession session(m_context, port);
    RadioProtocol& protocol = session.Protocol();
    CVirtualCodeplug scratch;
    session.Identify(scratch);
    CRadioBlocks blocks;
    if (!session.Proceed() || !session.Check(protocol.ReadSettings())) {
        return session.Finish();
    }
    const auto settings = protocol.Reply().Data().subspan(1);
    blocks.settings.assign(settings.begin(), settings.end());
    // Each list keeps the records in the radio's order, as the radio numbers them.
    const auto keep = [](std::vector<CRadioBlocks::Bytes>& list) {
        return [&list](int r, std::span<const std::uint8_t> block) {
            list.resize(std::max<std::size_t>(list.size(), static_cast<std::size_t>(r)));
            list[static_cast<std::size_t>(r - 1)].assign(block.begin(), block.end());
            return kRadioSuccess;
        };
    };
    if (ReadList(session, kMaxContacts, keep(blocks.contacts)) &&
        ReadList(session, kMaxTexts, keep(blocks.texts))) {
        radio = std::move(blocks);
    }
    return session.Finish();
}

int CTransferOperations::WriteCodeplug(const std::string& port, const CVirtualCodeplug& source,
                                       CRadioBlocks* sent) {
    CTransferSession session(m_context, port);
    session.PreferFailureOverCancel();
    RadioProtocol& protocol = session.Protocol();
    CVirtualCodeplug w = source;
    w.Count();
    session.Identify(w);
    if (!session.Proceed()) {
        return session.Finish();
    }
    session.Progress(20);

    CVirtualCodeplug r;
    session.CheckCompatibility(r);
    if (!session.Proceed()) {
        return session.Finish();
    }
    const auto& radio = r.limits;
    if (source.limits.clone_compatibility_version == 15 &&
        radio.clone_compatibility_version == 10) {
        session.Fail(kModifiedBandProfile);
        return session.Finish();
    }

    const int dropped = CWritePlan::DropForeignPublicGroups(w, radio);
    if (CWritePlan::NotSupported(w, radio, dropped) && !m_context.NotSupportedAccepted() &&
        !m_context.Warn(TransferWarning::kNotSupported)) {
        return session.Finish();
    }
    if (CWritePlan::RadioNotInProfile(w, radio) &&
        !m_context.Warn(TransferWarning::kRadioNotInProfile)) {
        return session.Finish();
    }
    if (CWritePlan::NeedsChannelRemap(source, radio)) {
        if (!m_context.Warn(TransferWarning::kChannelRemap)) {
            return session.Finish();
        }
        CWritePlan::RemapChannels(w);
    }
    if (TestBit(radio.capability_flags, 12)) {  // vibracall_dis: the radio cannot vibrate
        w.settings.vibracall = 2;
    }
    w.limits = radio;
    session.Progress(40);

    w.SettingsFromOwnRecord();
    // Every block is encoded before the first is sent: a text the radio cannot hold stops the
    // write while the radio still has its old codeplug.
    std::vector<std::uint8_t> settingsBlock;
    int encoded = CBlockCodec::EncodeSettings(w.settings, settingsBlock);
    // The total sent with each record is the number of records actually sent (records the
    // radio's capacities leave out are not announced), so the radio never waits for a record that
    // does not come.
    const auto contacts = CWritePlan::ContactOrder(w);
    std::vector<std::vector<std::uint8_t>> contactBlocks(contacts.size());
    for (std::size_t n = 0; n < contacts.size() && encoded == kRadioSuccess; ++n) {
        encoded = CBlockCodec::EncodeContact(w.contacts[static_cast<std::size_t>(contacts[n])],
                                             contactBlocks[n]);
    }
    // Texts are numbered over the non-empty slots, 1 to m without gaps: the radio keeps a packed
    // list, and an index beyond the announced total would be refused.
    const auto texts = CWritePlan::TextOrder(w);
    std::vector<std::vector<std::uint8_t>> textBlocks(texts.size());
    for (std::size_t n = 0; n < texts.size() && encoded == kRadioSuccess; ++n) {
        encoded =
            CBlockCodec::EncodeText(w.texts[static_cast<std::size_t>(texts[n])], textBlocks[n]);
    }
    if (encoded != kRadioSuccess) {
        session.Fail(encoded);
        return session.Finish();
    }
    if (sent) {
        *sent = CRadioBlocks{settingsBlock, contactBlocks, textBlocks};
    }

    if (!session.Proceed()) {
        return session.Finish();
    }
    // From the first byte of WriteSettings on, an unfinished write leaves the radio part-written.
    m_context.SetRadioTouched(true);
    if (!session.Check(protocol.WriteSettings(settingsBlock))) {
        return session.Finish();
    }
    session.Progress(60);

    if (contacts.empty()) {
        session.Check(protocol.WriteContact(0, 0, {}));
    }
    const auto contactTotal = static_cast<std::uint8_t>(contacts.size());
    for (std::size_t n = 0; n < contacts.size() && session.Proceed(); ++n) {
        if (session.Check(protocol.WriteContact(static_cast<std::uint8_t>(n + 1), contactTotal,
                                                contactBlocks[n]))) {
            session.Record(static_cast<int>(n + 1), contactTotal);
        }
    }
    if (!session.Proceed()) {
        return session.Finish();
    }
    session.Progress(80);

    if (texts.empty()) {
        session.Check(protocol.WriteTextMessage(0, 0, {}));
    }
    const auto textTotal = static_cast<std::uint8_t>(texts.size());
    for (std::size_t n = 0; n < texts.size() && session.Proceed(); ++n) {
        if (session.Check(protocol.WriteTextMessage(static_cast<std::uint8_t>(n + 1), textTotal,
                                                    textBlocks[n]))) {
            session.Record(static_cast<int>(n + 1), textTotal);
        }
    }
    if (session.Proceed() && session.Check(protocol.FinishWrite())) {
        session.Committed();
    }
    return session.Finish();
}

int CTransferOperations::PerformReset(const std::string& port) {
    CTransferSession session(m_context, port);
    CVirtualCodeplug scratch;
    session.CheckCompatibility(scratch);
    if (session.Proceed()) {
        session.Check(session.Protocol().ResetRadio());
    }
    return session.Finish();
}

int CTransferOperations::CaptureRadioPid(const std::string& port, std::u16string& pid) {
    CTransferSession session(m_context, port);
    RadioProtocol& protocol = session.Protocol();
    CVirtualCodeplug scratch;
    session.Identify(scratch);
    session.CheckCompatibility(scratch);
    if (!session.Proceed()) {
        return session.Finish();
    }
    session.Progress(20);

    const int started = protocol.StartIdCapture();
    const auto reply = protocol.Reply().Data();
    if (started != kRadioSuccess || reply.size() < 2 || reply[1] != kCaptureStarted) {
        session.Fail(kRadioBusy);
        return session.Finish();
    }
    for (int percent = 20;;) {
        if (percent >= 100) {
            session.Fail(kTimedOut);
            break;
        }
        PauseUnlessCancelled(m_context, m_context.capturePollInterval);
        if (!session.Proceed()) {
            break;
        }
        const int code = protocol.PollIdCapture();
        const auto poll = protocol.Reply().Data();
        if (code == kRadioSuccess) {
            pid = CBlockCodec::DecodeCapturedPid(poll.subspan(2));
            m_context.SetCapturedPid(pid);
            break;
        }
        if (code == kTimedOut && poll.size() > 1 && poll[1] == kCaptureWaiting) {
            percent += 20;
            session.Progress(percent);
            continue;
        }
        session.Fail(code);
        break;
    }
    return session.Finish();
}
