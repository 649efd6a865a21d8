#pragma once

#include <string>

#include "CTransferContext.h"

// Holds port for the context while the scope lives (one command), so that no other user of the
// radio link gets in between the command's operations. A context that holds a port already (a
// station holding its cable for a whole job) keeps its hold as it is. When the port is in use
// elsewhere, nothing is held and the command's first operation ends with kPortBusy.
class CPortHold {
  public:
    CPortHold(CTransferContext& context, const std::string& port) : m_context(context) {
        m_acquired = m_context.HeldPort().empty() && m_context.HoldPort(port);
    }
    ~CPortHold() {
        if (m_acquired) {
            m_context.ReleasePort();
        }
    }
    CPortHold(const CPortHold&) = delete;
    CPortHold& operator=(const CPortHold&) = delete;

  private:
    CTransferContext& m_context;
    bool m_acquired = false;
};
