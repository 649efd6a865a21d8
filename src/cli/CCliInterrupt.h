#pragma once

#include <functional>
#include <thread>

#include "CTransferContext.h"

// Ctrl-C for the length of a radio command. The first SIGINT is remembered for the rest of the
// command (so one between two operations, or at a prompt, is never lost) and cancels the running
// operation at once through its transfer context. The previous handler is back afterwards.
class CCliInterrupt {
  public:
    explicit CCliInterrupt(CTransferContext& context);
    // Each Ctrl-C calls cancel (on a thread of its own): a command with several operations at
    // once cancels them all.
    explicit CCliInterrupt(std::function<void()> cancel);
    ~CCliInterrupt();
    CCliInterrupt(const CCliInterrupt&) = delete;
    CCliInterrupt& operator=(const CCliInterrupt&) = delete;

    // True once Ctrl-C was pressed while a CCliInterrupt was alive.
    static bool Interrupted();

  private:
    std::thread m_watcher;
};
