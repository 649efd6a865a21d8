#pragma once

#include <memory>

#include "CTransferContext.h"
#include "CWireTrace.h"

// Makes trace the context's wire trace for as long as the scope lives (one command), then puts
// the previous one back.
class CTraceScope {
  public:
    CTraceScope(CTransferContext& context, std::shared_ptr<CWireTrace> trace)
        : m_context(context), m_previous(context.Trace()) {
        m_context.SetTrace(std::move(trace));
    }
    ~CTraceScope() { m_context.SetTrace(std::move(m_previous)); }
    CTraceScope(const CTraceScope&) = delete;
    CTraceScope& operator=(const CTraceScope&) = delete;

  private:
    CTransferContext& m_context;
    std::shared_ptr<CWireTrace> m_previous;
};
