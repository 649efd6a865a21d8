#include "ScriptSandbox.h"

#include <cstdlib>

#include "ScriptLuaContext.h"

// These functions run under Lua's longjmp error handling: nothing here may hold an object with a
// destructor while calling into Lua.

namespace {

bool MustPropagate(lua_State* L, int status) {
    return status == LUA_ERRMEM || GetScriptContext(L)->aborting;
}

int SandboxPcall(lua_State* L) {
    luaL_checkany(L, 1);
    lua_pushboolean(L, 1);
    lua_insert(L, 1);
    const int status = lua_pcall(L, lua_gettop(L) - 2, LUA_MULTRET, 0);
    if (status != LUA_OK) {
        if (MustPropagate(L, status)) {
            return lua_error(L);
        }
        lua_pushboolean(L, 0);
        lua_pushvalue(L, -2);
        return 2;
    }
    return lua_gettop(L);
}

int SandboxXpcall(lua_State* L) {
    const int n = lua_gettop(L);
    luaL_checktype(L, 2, LUA_TFUNCTION);
    lua_pushboolean(L, 1);
    lua_pushvalue(L, 1);
    lua_rotate(L, 3, 2);
    const int status = lua_pcall(L, n - 2, LUA_MULTRET, 2);
    if (status != LUA_OK) {
        if (MustPropagate(L, status)) {
            return lua_error(L);
        }
        lua_pushboolean(L, 0);
        lua_pushvalue(L, -2);
        return 2;
    }
    return lua_gettop(L) - 2;
}

// load(chunk [, chunkname [, mode [, env]]]) with the mode forced to text.
int SandboxLoad(lua_State* L) {
    const int n = lua_gettop(L);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_pushvalue(L, 1);
    if (n >= 2) {
        lua_pushvalue(L, 2);
    } else {
        lua_pushnil(L);
    }
    lua_pushliteral(L, "t");
    int args = 3;
    if (n >= 4) {
        lua_pushvalue(L, 4);
        ++args;
    }
    lua_call(L, args, LUA_MULTRET);
    return lua_gettop(L) - n;
}

int SandboxSetmetatable(lua_State* L) {
    if (lua_type(L, 2) == LUA_TTABLE) {
        lua_pushliteral(L, "__gc");
        if (lua_rawget(L, 2) != LUA_TNIL) {
            return luaL_error(L, "__gc metamethods are not allowed");
        }
        lua_pop(L, 1);
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, 1);
    return 1;
}

// Lua's pattern matcher backtracks inside one C call, where the instruction hook never runs: a
// pattern with k quantifiers can cost up to n^(k+1) steps on a text of length n. Calls whose
// bound exceeds this are refused (names and texts of a profile stay far below it).
constexpr double kMaxPatternSteps = 1e8;

int CountQuantifiers(const char* pattern, size_t length) {
    int count = 0;
    bool inSet = false;
    for (size_t i = 0; i < length; ++i) {
        const char c = pattern[i];
        if (c == '%') {
            ++i;  // an escaped character is never a quantifier
        } else if (inSet) {
            inSet = c != ']';
        } else if (c == '[') {
            inSet = true;
            if (i + 1 < length && pattern[i + 1] == '^') {
                ++i;
            }
            if (i + 1 < length && pattern[i + 1] == ']') {
                ++i;  // a leading ']' belongs to the set
            }
        } else if (c == '*' || c == '+' || c == '-' || c == '?') {
            ++count;
        }
    }
    return count;
}

// string.find/match/gmatch/gsub with the cost bound checked first; the original is upvalue 1.
int BoundedPatternCall(lua_State* L) {
    size_t subjectLength = 0;
    size_t patternLength = 0;
    luaL_checklstring(L, 1, &subjectLength);
    const char* pattern = luaL_checklstring(L, 2, &patternLength);
    const bool plain = lua_toboolean(L, lua_upvalueindex(2)) && lua_toboolean(L, 4);
    if (!plain) {
        const int quantifiers = CountQuantifiers(pattern, patternLength);
        double steps = 1.0;
        for (int i = 0; i <= quantifiers && steps <= kMaxPatternSteps; ++i) {
            steps *= static_cast<double>(subjectLength) + 1.0;
        }
        if (steps > kMaxPatternSteps) {
            return luaL_error(L, "the pattern is too complex for a text of %d bytes",
                              static_cast<int>(subjectLength));
        }
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// Replaces global `name` by fn, with the original as its upvalue.
void WrapGlobal(lua_State* L, const char* name, lua_CFunction fn) {
    lua_getglobal(L, name);
    lua_pushcclosure(L, fn, 1);
    lua_setglobal(L, name);
}

}  // namespace

int OpenScriptSandbox(lua_State* L) {
    luaL_requiref(L, LUA_GNAME, luaopen_base, 1);
    luaL_requiref(L, LUA_STRLIBNAME, luaopen_string, 1);
    luaL_requiref(L, LUA_TABLIBNAME, luaopen_table, 1);
    luaL_requiref(L, LUA_MATHLIBNAME, luaopen_math, 1);
    lua_settop(L, 0);

    static const char* const kRemoved[] = {"dofile", "loadfile", "collectgarbage", "print", "warn"};
    for (const char* name : kRemoved) {
        lua_pushnil(L);
        lua_setglobal(L, name);
    }
    lua_pushcfunction(L, SandboxPcall);
    lua_setglobal(L, "pcall");
    lua_pushcfunction(L, SandboxXpcall);
    lua_setglobal(L, "xpcall");
    WrapGlobal(L, "load", SandboxLoad);
    WrapGlobal(L, "setmetatable", SandboxSetmetatable);

    lua_getglobal(L, LUA_STRLIBNAME);
    lua_pushnil(L);
    lua_setfield(L, -2, "dump");
    static const char* const kPatternFunctions[] = {"find", "match", "gmatch", "gsub"};
    for (const char* name : kPatternFunctions) {
        lua_getfield(L, -1, name);
        lua_pushboolean(L, name[0] == 'f');  // only find has a "plain" argument
        lua_pushcclosure(L, BoundedPatternCall, 2);
        lua_setfield(L, -2, name);
    }
    lua_pop(L, 1);
    return 0;
}

void ScriptInstructionHook(lua_State* L, lua_Debug*) {
    ScriptLuaContext* context = GetScriptContext(L);
    context->instructionBudget -= kScriptHookInterval;
    if (context->instructionBudget < 0 || context->aborting) {
        context->aborting = true;
        luaL_error(L, "the script exceeded its instruction limit");
    }
}

void* ScriptCappedAlloc(void* ud, void* ptr, size_t osize, size_t nsize) {
    auto* context = static_cast<ScriptLuaContext*>(ud);
    const size_t oldSize = ptr ? osize : 0;  // for a new block, osize is a type tag
    if (nsize == 0) {
        std::free(ptr);
        context->memoryUsed -= oldSize;
        return nullptr;
    }
    if (nsize > oldSize && context->memoryLimit != 0 &&
        (context->memoryUsed >= context->memoryLimit ||
         nsize - oldSize > context->memoryLimit - context->memoryUsed)) {
        return nullptr;
    }
    void* block = std::realloc(ptr, nsize);
    if (block) {
        context->memoryUsed = context->memoryUsed - oldSize + nsize;
    }
    return block;
}
