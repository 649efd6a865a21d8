#pragma once

#include <string>

#include "CRadioBlocks.h"
#include "CTransferContext.h"
#include "CVirtualCodeplug.h"

// The radio operations. Each runs to completion on the calling thread (a worker, see
// CTransferWorker), holds its context's lock and its port throughout, reports through the
// context's observer with exactly one final OnDone or OnFailed, and returns the same result code.
class CTransferOperations {
  public:
    explicit CTransferOperations(CTransferContext& context) : m_context(context) {}

    // The radio's version report into version.
    int ReadRadioVersion(const std::string& port, CVersionBlock& version);
    // The radio's codeplug password.
    int ReadRadioPassword(const std::string& port, std::u16string& password);
    // The radio's own PID, also kept as the context's current radio PID.
    int ReadOwnPid(const std::string& port, std::u16string& pid);
    // The radio's version and limits blocks (own PID, model, capacities) into radio, which is
    // untouched unless the read succeeds: who is on the cable, in three short exchanges. An empty
    // cable ends it with kNoConnection.
    int ReadIdentity(const std::string& port, CVirtualCodeplug& radio);
    // The radio's whole codeplug into destination, which is untouched unless the read succeeds.
    int ReadCodeplug(const std::string& port, CVirtualCodeplug& destination);
    // Writes source (an image built from a profile) to the radio. With sent, keeps the blocks
    // as they went to the radio (complete once the write succeeded).
    int WriteCodeplug(const std::string& port, const CVirtualCodeplug& source,
                      CRadioBlocks* sent = nullptr);
    // The radio's settings, contacts and texts as it returns them, undecoded.
    int ReadBack(const std::string& port, CRadioBlocks& radio);
    int PerformReset(const std::string& port);
    // Captures another radio's PID over the air, also kept as the context's captured PID.
    int CaptureRadioPid(const std::string& port, std::u16string& pid);

    // "R5E.08.00" for the default version: the phase letter, then release (hexadecimal), version
    // and revision, with leading 'D' and 'R' characters stripped.
    static std::string FirmwareVersionText(const CVersionBlock& version);

  private:
    CTransferContext& m_context;
};
