#pragma once

#include <functional>
#include <memory>

class QThread;

// Runs one radio operation on a thread of its own (a QThread, so a serial port created there has
// a proper thread affinity). The operation reports through the transfer context's observer.
class CTransferWorker {
  public:
    explicit CTransferWorker(std::function<void()> operation);
    ~CTransferWorker();  // waits for the operation to end
    CTransferWorker(const CTransferWorker&) = delete;
    CTransferWorker& operator=(const CTransferWorker&) = delete;

    void Start();
    // Waits up to ms milliseconds (-1: without limit); true once the operation has ended.
    bool Wait(int ms = -1);

  private:
    std::unique_ptr<QThread> m_thread;
};
