#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CScriptValue.h"

// One argument of a script call. A by-reference integer is passed in with its value and comes
// back as an extra result of the function (see CScriptEngine::CallFunction).
struct CScriptArgument {
    CScriptArgument(CScriptValue v) : value(std::move(v)) {}  // NOLINT: arguments read naturally
    static CScriptArgument ByRef(std::int64_t initial = 0) {
        CScriptArgument argument{CScriptValue(initial)};
        argument.byRef = true;
        return argument;
    }
    CScriptValue value;
    bool byRef = false;
};

// The rule script engine: a sandboxed Lua 5.4 state that runs the rule file.
//
// A rule file is Lua text. Its global functions are the handlers the schema names. A function
// receives DOM nodes as node references (see ScriptDom.h), texts, integers and booleans, and
// returns its result followed by the new values of its by-reference integers, in argument order.
// The sandbox offers only the base library (no file access, text chunks only), string, table and
// math; every call has an instruction budget and the state a memory cap, so a faulty rule file
// cannot hang or exhaust the program.
//
// A script error is reported through the error reporter with the text
// "IActiveScriptSite::OnScriptError()\nLine: <line>\n<description>" before the operation fails.
class CScriptEngine {
  public:
    using ErrorReporter = std::function<void(const std::string& text)>;

    struct Limits {
        std::int64_t instructionsPerCall = 50'000'000;
        std::size_t memoryBytes = 64u << 20;
    };

    struct CallResult {
        CScriptValue value;               // the function's (first) result
        std::vector<std::int64_t> byRef;  // the by-reference integers, in argument order
    };

    // Raises 101 when the state cannot be created.
    CScriptEngine();
    explicit CScriptEngine(Limits limits);
    ~CScriptEngine();
    CScriptEngine(const CScriptEngine&) = delete;
    CScriptEngine& operator=(const CScriptEngine&) = delete;

    // True when a rule file's text is plain Lua, that is, when it begins with "--"; any other
    // text is scrambled.
    static bool IsPlainRuleText(std::string_view text);

    // Compiles the rule text (binary chunks are refused) and runs its top level, which defines
    // the functions. Failures are reported and raise 101.
    void LoadScript(std::string_view text, std::string_view chunkName = "DataProfile.lua");

    // True when the global table holds a function of that name.
    bool HasFunction(std::string_view name);

    // Calls the global function `name`. The result's byRef holds one value per by-reference
    // argument: the function's extra results in order, or the value passed in where the function
    // returned fewer (or nil). Raises 106 when there is no such function or the call fails; a
    // script error is reported first. Nodes a script removes from a tree (and nodes it returns)
    // stay allocated, outside any tree, until ReleaseDetachedNodes: the program may still hold
    // them. Scratch nodes the call created and left out of every tree are freed when it ends.
    CallResult CallFunction(std::string_view name, const std::vector<CScriptArgument>& args);

    // Frees the nodes scripts removed or returned that are still in no tree. Call it before
    // freeing a document that scripts worked on, once nothing holds such nodes any more.
    void ReleaseDetachedNodes();
    std::size_t DetachedNodeCount() const;

    // The reporter of this engine; unset means the process default.
    void SetErrorReporter(ErrorReporter reporter);
    // The process default: standard error until the application sets its own.
    static void SetDefaultErrorReporter(ErrorReporter reporter);

    // The start-up check: can an engine be created and run a script? When it cannot, the
    // application shows message 294 and stops.
    static bool IsAvailable() noexcept;

    std::size_t MemoryInUse() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;

    void Report(const std::string& text) const;
    std::string TakeErrorText(int status, std::string_view chunkName);
};
