#pragma once

#include <atomic>
#include <functional>

#include "CTransferContext.h"
#include "CTransferWorker.h"
#include "ITransferObserver.h"

// One radio operation on a worker thread for as long as this object lives: observer becomes the
// context's observer and the worker starts at construction; destruction waits for the operation
// and puts the previous observer back. The cancel flag is left alone (a command clears it once).
class CTransferRun {
  public:
    CTransferRun(CTransferContext& context, ITransferObserver* observer,
                 std::function<int()> operation);
    ~CTransferRun();
    CTransferRun(const CTransferRun&) = delete;
    CTransferRun& operator=(const CTransferRun&) = delete;

    // Waits up to ms milliseconds (-1: without limit); true once the operation has ended.
    bool Wait(int ms = -1);
    // The operation's result code, once Wait has returned true.
    int Result() const { return m_result; }

  private:
    CTransferContext& m_context;
    ITransferObserver* m_previous;
    std::atomic<int> m_result{0};
    CTransferWorker m_worker;
};
