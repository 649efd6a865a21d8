#pragma once

#include <optional>

#include "CCliInterrupt.h"
#include "CTraceScope.h"
#include "CTransferContext.h"
#include "CliArgs.h"

// What a radio command holds while it talks to radios: its transfer context, the wire trace
// --trace asks for, and Ctrl-C cancelling the running operation. All of it ends with the scope.
class CCliRadioScope {
  public:
    explicit CCliRadioScope(const CCliArgs& args);
    CCliRadioScope(const CCliRadioScope&) = delete;
    CCliRadioScope& operator=(const CCliRadioScope&) = delete;

    // False when the trace file cannot be written (the reason has been printed): the command
    // then ends with kExitDataError before it touches a radio.
    bool Ready() const { return m_trace.has_value(); }
    CTransferContext& Context() { return m_context; }

  private:
    CTransferContext m_context;
    std::optional<CTraceScope> m_trace;
    std::optional<CCliInterrupt> m_interrupt;
};
