#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "CSimFaults.h"
#include "CVirtualCodeplug.h"
#include "ISimRadio.h"

// A radio as the programming cable sees it: answers each request with the reply frame a radio
// would send, keeps what a write sends (committed by FinishWrite) so a later read returns it, and
// misbehaves as its faults say. Thread-safe: tests read its image while it serves.
class CVirtualRadio : public ISimRadio {
  public:
    using Bytes = std::vector<std::uint8_t>;

    // A radio of the standard model with room for a full codeplug and nothing in it.
    static CVirtualCodeplug DefaultImage();

    explicit CVirtualRadio(CVirtualCodeplug image = DefaultImage(), CSimFaults faults = {});

    // The reply frame for one request; empty when the radio stays silent.
    Bytes Handle(std::uint8_t opcode, const Bytes& data) override;
    // True once the hang-up fault has struck.
    bool HungUp() const override;

    // The PID the radio captures over the air, after this many polls answered "still waiting".
    void SetCapture(std::u16string pid, int waitingPolls);
    // How long FinishWrite takes before its reply (the radio commits its memory meanwhile).
    void SetFinishDelayMs(int ms);
    int FinishDelayMs() const override;
    // FinishWrites that committed a write so far.
    int CommittedWrites() const;

    CVirtualCodeplug Image() const;
    // Requests received, by opcode, in order.
    std::vector<std::uint8_t> Requests() const;
    // Data of every request received, in order.
    std::vector<Bytes> RequestData() const;

  private:
    Bytes Answer(std::uint8_t opcode, const Bytes& data);
    Bytes ReadListItem(std::uint8_t letter, const Bytes& data, bool contacts);
    void StoreWrite(std::uint8_t opcode, const Bytes& data);
    Bytes Frame(std::uint8_t type, const Bytes& data);

    mutable std::mutex m_mutex;
    CVirtualCodeplug m_image;
    CSimFaults m_faults;
    std::optional<CVirtualCodeplug> m_pending;  // what a write sent, until FinishWrite
    // Contact records as a write sent them: a radio returns its group list as it was given.
    using RawRecords = std::array<Bytes, kMaxContacts>;
    RawRecords m_raw;
    RawRecords m_pendingRaw;
    bool m_contactsStarted = false;
    bool m_textsStarted = false;
    std::u16string m_capturePid;
    int m_captureWaitingPolls = 1;
    int m_polls = 0;
    bool m_capturing = false;
    int m_finishDelayMs = 1000;
    int m_commits = 0;
    int m_frames = 0;
    int m_replies = 0;
    bool m_hungUp = false;
    std::vector<std::uint8_t> m_requests;
    std::vector<Bytes> m_requestData;
};
