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

    // Contacts: [0, 0] asks for the start; each reply names its index and the list's total.
    int i = 0;
    int t = 0;
    while (session.Proceed() && t >= i) {
        if (!session.Check(
                protocol.ReadContact(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(t)))) {
            break;
        }
        const auto reply = protocol.Reply().Data();
        const int r = reply.size() > 1 ? reply[1] : 0;
        const int u = reply.size() > 2 ? reply[2] : 0;
        if (u == 0 || r == 0 || r > kMaxContacts || u < r) {
            break;
        }
        if (!session.Check(CBlockCodec::DecodeContact(
                reply.subspan(3), q.contacts[static_cast<std::size_t>(r - 1)]))) {
            break;
        }
        t = u;
        i = r + 1;
    }
    if (!session.Proceed()) {
        return session.Finish();
    }
    FixUpContacts(q);
    session.Progress(80);

    i = 0;
    t = 0;
    while (session.Proceed() && t >= i) {
        if (!session.Check(protocol.ReadTextMessage(static_cast<std::uint8_t>(i),
                                                    static_cast<std::uint8_t>(t)))) {
            break;
        }
        const auto reply = protocol.Reply().Data();
        const int r = reply.size() > 1 ? reply[1] : 0;
        const int u = reply.size() > 2 ? reply[2] : 0;
        if (u == 0 || r == 0 || r > kMaxTexts || u < r) {
            break;
        }
        if (!session.Check(CBlockCodec::DecodeText(reply.subspan(3),
                                                   q.texts[static_cast<std::size_t>(r - 1)]))) {
            break;
        }
        t = u;
        i = r + 1;
    }
    if (session.Proceed()) {
        q.OwnRecordFromSettings();
        destination = q;
    }
    return session.Finish();
}

int CTransferOperations::WriteCodeplug(const std::string& port, const CVirtualCodeplug& source) {
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
        !m_context.Warn(kWarnNotSupported)) {
        return session.Finish();
    }
    if (CWritePlan::RadioNotInProfile(w, radio) && !m_context.Warn(kWarnRadioNotInProfile)) {
        return session.Finish();
    }
    if (CWritePlan::NeedsChannelRemap(source, radio)) {
        if (!m_context.Warn(kWarnChannelRemap)) {
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
    const auto contacts = CWritePlan::ContactOrder(w);
    std::vector<std::vector<std::uint8_t>> contactBlocks(contacts.size());
    for (std::size_t n = 0; n < contacts.size() && encoded == kRadioSuccess; ++n) {
        encoded = CBlockCodec::EncodeContact(w.contacts[static_cast<std::size_t>(contacts[n])],
                                             contactBlocks[n]);
    }
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

    if (!session.Proceed() || !session.Check(protocol.WriteSettings(settingsBlock))) {
        return session.Finish();
    }
    session.Progress(60);

    if (contacts.empty()) {
        session.Check(protocol.WriteContact(0, 0, {}));
    }
    const auto contactTotal = static_cast<std::uint8_t>(contacts.size());
    for (std::size_t n = 0; n < contacts.size() && session.Proceed(); ++n) {
        session.Check(protocol.WriteContact(static_cast<std::uint8_t>(n + 1), contactTotal,
                                            contactBlocks[n]));
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
        session.Check(
            protocol.WriteTextMessage(static_cast<std::uint8_t>(n + 1), textTotal, textBlocks[n]));
    }
    if (session.Proceed()) {
        session.Check(protocol.FinishWrite());
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
