#pragma once

#include <lua.hpp>

#include <cstddef>
#include <cstdint>
#include <cstring>

class CScriptNodeRegistry;

// What the C functions of a script state need from their engine. It lives in the engine and is
// reached through the state's extra space. It holds no object with a destructor: Lua errors
// longjmp through the functions that use it.
struct ScriptLuaContext {
    std::int64_t instructionBudget = 0;  // left for the running call
    bool aborting = false;               // the limit was hit: no script may catch the error
    int errorLine = 0;                   // line of the last runtime error, 0 when unknown
    std::size_t memoryUsed = 0;
    std::size_t memoryLimit = 0;
    CScriptNodeRegistry* nodes = nullptr;
};

inline ScriptLuaContext* GetScriptContext(lua_State* L) {
    ScriptLuaContext* context = nullptr;
    std::memcpy(&context, lua_getextraspace(L), sizeof context);
    return context;
}

inline void SetScriptContext(lua_State* L, ScriptLuaContext* context) {
    std::memcpy(lua_getextraspace(L), &context, sizeof context);
}
