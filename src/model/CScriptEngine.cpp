#include "CScriptEngine.h"

#include <lua.hpp>

#include <charconv>
#include <iostream>
#include <mutex>

#include "CQMVVLTException.h"
#include "CScriptNodeRegistry.h"
#include "MessageId.h"
#include "ScriptDom.h"
#include "ScriptLuaContext.h"
#include "ScriptSandbox.h"

namespace {

constexpr std::string_view kLoadContext = "CScriptEngine::LoadScript";
constexpr std::string_view kCallContext = "CScriptEngine::CallFunction";

std::mutex& DefaultReporterMutex() {
    static std::mutex mutex;
    return mutex;
}

CScriptEngine::ErrorReporter& DefaultReporter() {
    static CScriptEngine::ErrorReporter reporter = [](const std::string& text) {
        std::cerr << text << '\n';
    };
    return reporter;
}

// What the protected call needs; only pointers, since it runs under longjmp error handling.
struct CallFrame {
    const char* name;
    std::size_t nameLength;
    const CScriptArgument* args;
    std::size_t argCount;
    bool missing;
};

// Pushes the global `name` without metamethods (a script cannot make a lookup run code).
void PushGlobalRaw(lua_State* L, const char* name, std::size_t length) {
    lua_rawgeti(L, LUA_REGISTRYINDEX, LUA_RIDX_GLOBALS);
    lua_pushlstring(L, name, length);
    lua_rawget(L, -2);
    lua_remove(L, -2);
}

int ProtectedHasFunction(lua_State* L) {
    auto* frame = static_cast<CallFrame*>(lua_touserdata(L, 1));
    PushGlobalRaw(L, frame->name, frame->nameLength);
    frame->missing = lua_type(L, -1) != LUA_TFUNCTION;
    return 0;
}

void PushArgument(lua_State* L, const CScriptValue& value) {
    if (const auto* b = std::get_if<bool>(&value)) {
        lua_pushboolean(L, *b ? 1 : 0);
    } else if (const auto* i = std::get_if<std::int64_t>(&value)) {
        lua_pushinteger(L, static_cast<lua_Integer>(*i));
    } else if (const auto* d = std::get_if<double>(&value)) {
        lua_pushnumber(L, *d);
    } else if (const auto* s = std::get_if<std::string>(&value)) {
        lua_pushlstring(L, s->data(), s->size());
    } else if (const auto* n = std::get_if<xmlNode*>(&value)) {
        PushScriptNode(L, *n);
    } else {
        lua_pushnil(L);
    }
}

// Looks the function up, calls it and leaves its results, with node references turned into
// light userdata so the caller can read every result without calling anything that may raise.
int ProtectedCall(lua_State* L) {
    auto* frame = static_cast<CallFrame*>(lua_touserdata(L, 1));
    lua_settop(L, 0);
    PushGlobalRaw(L, frame->name, frame->nameLength);
    if (lua_type(L, -1) != LUA_TFUNCTION) {
        frame->missing = true;
        return 0;
    }
    luaL_checkstack(L, static_cast<int>(frame->argCount) + 2, "too many arguments");
    for (std::size_t i = 0; i < frame->argCount; ++i) {
        PushArgument(L, frame->args[i].value);
    }
    lua_call(L, static_cast<int>(frame->argCount), LUA_MULTRET);
    const int count = lua_gettop(L);
    for (int i = 1; i <= count; ++i) {
        switch (lua_type(L, i)) {
            case LUA_TNIL:
            case LUA_TBOOLEAN:
            case LUA_TNUMBER:
            case LUA_TSTRING:
                break;
            default:
                if (xmlNode* node = TestScriptNode(L, i)) {
                    lua_pushlightuserdata(L, node);
                    lua_replace(L, i);
                } else {
                    return luaL_error(L, "the function returned a %s value as result %d",
                                      luaL_typename(L, i), i);
                }
        }
    }
    return count;
}

// Notes the line of the innermost script function where the error arose.
int MessageHandler(lua_State* L) {
    ScriptLuaContext* context = GetScriptContext(L);
    lua_Debug ar;
    for (int level = 1; lua_getstack(L, level, &ar); ++level) {
        if (lua_getinfo(L, "l", &ar) && ar.currentline > 0) {
            context->errorLine = ar.currentline;
            break;
        }
    }
    return 1;
}

int OpenState(lua_State* L) {
    lua_pushcfunction(L, OpenScriptSandbox);
    lua_call(L, 0, 0);
    lua_pushcfunction(L, OpenScriptDom);
    lua_call(L, 0, 0);
    return 0;
}

CScriptValue ReadResult(lua_State* L, int idx) {
    switch (lua_type(L, idx)) {
        case LUA_TBOOLEAN:
            return CScriptValue(lua_toboolean(L, idx) != 0);
        case LUA_TNUMBER:
            if (lua_isinteger(L, idx)) {
                return CScriptValue(static_cast<std::int64_t>(lua_tointeger(L, idx)));
            }
            return CScriptValue(static_cast<double>(lua_tonumber(L, idx)));
        case LUA_TSTRING: {
            std::size_t length = 0;
            const char* text = lua_tolstring(L, idx, &length);
            return CScriptValue(std::string(text, length));
        }
        case LUA_TLIGHTUSERDATA:
            return CScriptValue(static_cast<xmlNode*>(lua_touserdata(L, idx)));
        default:
            return CScriptValue();
    }
}

// "chunk:12: text" -> 12 and "text", when the prefix names the chunk.
int SplitLocation(std::string& message, std::string_view chunkName) {
    if (message.size() <= chunkName.size() + 1 || message.compare(0, chunkName.size(), chunkName) ||
        message[chunkName.size()] != ':') {
        return 0;
    }
    const std::size_t digits = chunkName.size() + 1;
    int line = 0;
    const auto [end, ec] =
        std::from_chars(message.data() + digits, message.data() + message.size(), line);
    if (ec != std::errc() || end == message.data() + digits ||
        end >= message.data() + message.size() || *end != ':') {
        return 0;
    }
    std::size_t rest = static_cast<std::size_t>(end - message.data()) + 1;
    if (rest < message.size() && message[rest] == ' ') {
        ++rest;
    }
    message.erase(0, rest);
    return line;
}

}  // namespace

struct CScriptEngine::Impl {
    Limits limits;
    ScriptLuaContext context;
    CScriptNodeRegistry nodes;
    lua_State* L = nullptr;
    ErrorReporter reporter;
    std::string chunkName = "DataProfile.lua";  // the loaded rule file, for error locations

    ~Impl() {
        if (L) {
            lua_close(L);
        }
        nodes.ReleaseAll();
    }

    // A call that failed half-way may have left libxml2 objects (XPath results) that refer to
    // nodes to the collector: free them while those nodes still exist.
    void CollectAbandoned() { lua_gc(L, LUA_GCCOLLECT); }

    void StartRun() {
        lua_settop(L, 0);
        context.instructionBudget = limits.instructionsPerCall;
        context.aborting = false;
        context.errorLine = 0;
    }
};

CScriptEngine::CScriptEngine() : CScriptEngine(Limits{}) {}

CScriptEngine::CScriptEngine(Limits limits) : m_impl(std::make_unique<Impl>()) {
    m_impl->limits = limits;
    m_impl->context.memoryLimit = limits.memoryBytes;
    m_impl->context.nodes = &m_impl->nodes;
    lua_State* L = lua_newstate(ScriptCappedAlloc, &m_impl->context);
    if (!L) {
        ThrowQMVVLT(MessageId::kFatalError101, "CScriptEngine::CScriptEngine",
                    "the script engine cannot be created");
    }
    m_impl->L = L;
    SetScriptContext(L, &m_impl->context);
    lua_pushcfunction(L, OpenState);
    if (lua_pcall(L, 0, 0, 0) != LUA_OK) {
        ThrowQMVVLT(MessageId::kFatalError101, "CScriptEngine::CScriptEngine",
                    "the script libraries cannot be opened");
    }
    lua_sethook(L, ScriptInstructionHook, LUA_MASKCOUNT, kScriptHookInterval);
}

CScriptEngine::~CScriptEngine() = default;

bool CScriptEngine::IsPlainRuleText(std::string_view text) {
    return text.substr(0, 2) == "--";
}

void CScriptEngine::Report(const std::string& text) const {
    if (m_impl->reporter) {
        m_impl->reporter(text);
        return;
    }
    ErrorReporter reporter;
    {
        std::lock_guard lock(DefaultReporterMutex());
        reporter = DefaultReporter();
    }
    if (reporter) {
        reporter(text);
    }
}

std::string CScriptEngine::TakeErrorText(int status, std::string_view chunkName) {
    lua_State* L = m_impl->L;
    std::string message;
    if (lua_type(L, -1) == LUA_TSTRING) {
        std::size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        message.assign(text, length);
    } else {
        message = std::string("(error object is a ") + luaL_typename(L, -1) + " value)";
    }
    if (status == LUA_ERRMEM) {
        message = "the script exceeded its memory limit (" + message + ")";
    }
    lua_settop(L, 0);
    const int prefixLine = SplitLocation(message, chunkName);
    const int line = m_impl->context.errorLine > 0 ? m_impl->context.errorLine : prefixLine;
    return "IActiveScriptSite::OnScriptError()\nLine: " + std::to_string(line) + "\n" + message;
}

void CScriptEngine::LoadScript(std::string_view text, std::string_view chunkName) {
    lua_State* L = m_impl->L;
    m_impl->StartRun();
    m_impl->chunkName = std::string(chunkName);
    const std::string chunk = "=" + std::string(chunkName);
    lua_pushcfunction(L, MessageHandler);
    int status = luaL_loadbufferx(L, text.data(), text.size(), chunk.c_str(), "t");
    const char* failure = "ParseScriptText failed";
    if (status == LUA_OK) {
        status = lua_pcall(L, 0, 0, 1);
        failure = "SetScriptState failed";
    }
    if (status != LUA_OK) {
        const std::string report = TakeErrorText(status, chunkName);
        m_impl->CollectAbandoned();
        m_impl->nodes.EndGeneration();
        Report(report);
        ThrowQMVVLT(MessageId::kFatalError101, kLoadContext, std::string(failure) + "\n" + report);
    }
    lua_settop(L, 0);
    m_impl->nodes.EndGeneration();
}

bool CScriptEngine::HasFunction(std::string_view name) {
    lua_State* L = m_impl->L;
    lua_settop(L, 0);
    CallFrame frame{name.data(), name.size(), nullptr, 0, true};
    lua_pushcfunction(L, ProtectedHasFunction);
    lua_pushlightuserdata(L, &frame);
    const int status = lua_pcall(L, 1, 0, 0);
    lua_settop(L, 0);
    return status == LUA_OK && !frame.missing;
}

CScriptEngine::CallResult CScriptEngine::CallFunction(std::string_view name,
                                                      const std::vector<CScriptArgument>& args) {
    lua_State* L = m_impl->L;
    m_impl->StartRun();
    CallFrame frame{name.data(), name.size(), args.data(), args.size(), false};
    lua_pushcfunction(L, MessageHandler);
    lua_pushcfunction(L, ProtectedCall);
    lua_pushlightuserdata(L, &frame);
    const int status = lua_pcall(L, 1, LUA_MULTRET, 1);
    const std::string function(name);
    if (status != LUA_OK) {
        const std::string report = TakeErrorText(status, m_impl->chunkName);
        m_impl->CollectAbandoned();
        m_impl->nodes.EndGeneration();
        Report(report);
        ThrowQMVVLT(MessageId::kUnknownError, kCallContext,
                    "Invoke script function failed\nfunction name=" + function + "\n" + report);
    }
    if (frame.missing) {
        lua_settop(L, 0);
        m_impl->nodes.EndGeneration();
        ThrowQMVVLT(MessageId::kUnknownError, kCallContext,
                    "Invoke script function failed\nfunction name=" + function +
                        "\nthe rule file has no such function");
    }
    // Results sit above the message handler at index 1.
    const int count = lua_gettop(L) - 1;
    CallResult result;
    std::vector<xmlNode*> returnedNodes;
    if (count >= 1) {
        result.value = ReadResult(L, 2);
    }
    int next = 3;
    for (const CScriptArgument& argument : args) {
        if (!argument.byRef) {
            continue;
        }
        std::int64_t value = std::holds_alternative<std::int64_t>(argument.value)
                                 ? std::get<std::int64_t>(argument.value)
                                 : ScriptToInt32(argument.value);
        if (next - 1 <= count && lua_type(L, next) != LUA_TNIL) {
            const CScriptValue returned = ReadResult(L, next);
            value = std::holds_alternative<std::int64_t>(returned)
                        ? std::get<std::int64_t>(returned)
                        : ScriptToInt32(returned);
        }
        result.byRef.push_back(value);
        ++next;
    }
    for (int i = 2; i <= count + 1; ++i) {
        if (lua_type(L, i) == LUA_TLIGHTUSERDATA) {
            returnedNodes.push_back(static_cast<xmlNode*>(lua_touserdata(L, i)));
        }
    }
    lua_settop(L, 0);
    m_impl->nodes.EndGeneration(returnedNodes);
    return result;
}

void CScriptEngine::ReleaseDetachedNodes() {
    m_impl->nodes.ReleaseAll();
}

std::size_t CScriptEngine::DetachedNodeCount() const {
    return m_impl->nodes.DetachedCount();
}

void CScriptEngine::SetErrorReporter(ErrorReporter reporter) {
    m_impl->reporter = std::move(reporter);
}

void CScriptEngine::SetDefaultErrorReporter(ErrorReporter reporter) {
    std::lock_guard lock(DefaultReporterMutex());
    DefaultReporter() = std::move(reporter);
}

bool CScriptEngine::IsAvailable() noexcept {
    try {
        CScriptEngine engine;
        engine.SetErrorReporter([](const std::string&) {});
        engine.LoadScript("-- start-up check\nfunction Check(n) return n + 1 end", "check");
        const CallResult result = engine.CallFunction("Check", {CScriptValue(std::int64_t{41})});
        return ScriptToInt32(result.value) == 42;
    } catch (...) {
        return false;
    }
}

std::size_t CScriptEngine::MemoryInUse() const {
    return m_impl->context.memoryUsed;
}
