#include "CQMVVLTException.h"

CQMVVLTException::CQMVVLTException(int code, std::string_view context, int line,
                                   std::string_view message)
    : m_code(code), m_message(message) {
    AddTrace(context, line, message);
}

void CQMVVLTException::AddTrace(std::string_view context, int line, std::string_view text) {
    m_trace += "\n(";
    m_trace += context;
    m_trace += ':';
    m_trace += std::to_string(line);
    m_trace += ") ";
    m_trace += text;
}

std::string_view ExceptionReason(std::string_view trace) {
    constexpr std::string_view kLabel = "\nDesc: ";
    const auto at = trace.find(kLabel);
    if (at == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = trace.substr(at + kLabel.size());
    return rest.substr(0, rest.find('\n'));
}

void ThrowQMVVLT(int code, std::string_view context, std::string_view message, int line) {
    throw CQMVVLTException(code, context, line, message);
}
