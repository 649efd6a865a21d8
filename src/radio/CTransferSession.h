#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "CPortRegistry.h"
#include "CTransferContext.h"
#include "CVirtualCodeplug.h"
#include "IByteStream.h"
#include "RadioProtocol.h"

// The frame of one radio operation: holds its context's lock, claims the port (unless the context
// holds it already) and opens it with the protocol, carries the failure, runs the steps common to
// the operations, and posts exactly one final notification when it ends. A port in use by another
// context or operation is not opened: the session ends with kPortBusy. A session started on the
// thread that already holds the context's lock (from an observer callback) does nothing and ends
// with kRadioBusy, without a notification.
class CTransferSession {
  public:
    CTransferSession(CTransferContext& context, const std::string& port);
    ~CTransferSession();
    CTransferSession(const CTransferSession&) = delete;
    CTransferSession& operator=(const CTransferSession&) = delete;

    // True while neither a cancel nor a failure stops the operation.
    bool Proceed() const;
    // Records a failing step; the code is posted when the operation ends.
    void Fail(int code);
    // Fails with code unless it is success; returns whether it was.
    bool Check(int code);
    void Progress(int percent) const;
    // One record of a list went over the line.
    void Record(int done, int total) const;
    // The radio acknowledged FinishWrite: the operation succeeded whatever is cancelled later.
    void Committed() { m_committed = true; }
    // A failure outranks a cancel in the final notification (a write that failed after the
    // user cancelled reports why it failed).
    void PreferFailureOverCancel() { m_failureFirst = true; }
    // Posts the final notification (once) and returns the operation's result code.
    int Finish();

    RadioProtocol& Protocol() { return m_protocol; }
    CTransferContext& Context() { return m_context; }

    // GetVersion, the acceptance of the version report into image's version block, OpenLink.
    void Identify(CVirtualCodeplug& image);
    // ReadLimits into image's limits block and the model family check.
    void CheckCompatibility(CVirtualCodeplug& image);

  private:
    CTransferContext& m_context;
    std::unique_lock<std::mutex> m_lock;
    CPortClaim m_claim;  // when the context does not hold the port for us
    std::unique_ptr<IByteStream> m_port;
    RadioProtocol m_protocol;
    std::shared_ptr<CWireTrace> m_trace;  // kept alive for the whole operation
    int m_code = 0;
    bool m_failureFirst = false;
    bool m_committed = false;
    bool m_reentered = false;
    bool m_finished = false;
    int m_result = 0;
};
