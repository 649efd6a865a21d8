#include "CCliRadioScope.h"

#include "CliRadio.h"

CCliRadioScope::CCliRadioScope(const CCliArgs& args) {
    bool traceOk = true;
    auto trace = CliRadio::TraceFile(args, traceOk);
    if (!traceOk) {
        return;
    }
    m_trace.emplace(m_context, std::move(trace));
    m_interrupt.emplace(m_context);
}
