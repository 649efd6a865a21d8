#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

// The program's exception: a string-table code plus a trace of "\n(context:line) text" entries,
// one added by each layer the exception passes through.
class CQMVVLTException : public std::exception {
  public:
    CQMVVLTException(int code, std::string_view context, int line, std::string_view message);

    int Code() const noexcept { return m_code; }
    // The text the exception was raised with (without the trace entries added on the way out).
    const std::string& Message() const noexcept { return m_message; }
    // All entries, the first one being the raise itself.
    const std::string& Trace() const noexcept { return m_trace; }

    void AddTrace(std::string_view context, int line, std::string_view text);
    const char* what() const noexcept override { return m_trace.c_str(); }

  private:
    int m_code;
    std::string m_message;
    std::string m_trace;
};

// The entry every public operation appends when an exception passes through it.
inline constexpr std::string_view kExceptionCatched = "Exception Catched";

// (The caller's line comes from __builtin_LINE: clang 14 with this libstdc++ lacks
// source_location.) Runs f; a CQMVVLTException leaving it gets the entry "Exception Catched" (or
// the given text) under context, with the caller's line, and is raised again.
template <class F>
decltype(auto) TraceExceptions(std::string_view context, F&& f,
                               std::string_view text = kExceptionCatched,
                               int line = __builtin_LINE()) {
    try {
        return std::forward<F>(f)();
    } catch (CQMVVLTException& e) {
        e.AddTrace(context, line, text);
        throw;
    }
}

// The "Desc: " line of the first trace entry that has one (a parser's, the schema's or a
// component's own complaint), without the label; empty when there is none.
std::string_view ExceptionReason(std::string_view trace);

// Raises a CQMVVLTException with the caller's line.
[[noreturn]] void ThrowQMVVLT(int code, std::string_view context, std::string_view message,
                              int line = __builtin_LINE());
