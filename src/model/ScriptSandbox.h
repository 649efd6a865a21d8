#pragma once

#include <lua.hpp>

// Opens the libraries a rule file may use in a fresh state: the base library without dofile,
// loadfile, collectgarbage, print and warn, with load restricted to text chunks, pcall and xpcall
// that cannot swallow the instruction and memory limits, and setmetatable refusing __gc (a
// finalizer runs without the instruction hook); string (without dump, and with pattern matching
// refused where its backtracking could run too long), table and math.
// A lua_CFunction: run it with lua_pcall.
int OpenScriptSandbox(lua_State* L);

// The instruction-count hook: takes the count from the context's budget and raises an error
// that no script can catch once it is spent. Installed every kScriptHookInterval instructions.
inline constexpr int kScriptHookInterval = 1000;
void ScriptInstructionHook(lua_State* L, lua_Debug* ar);

// The allocator of script states: counts the bytes in use in the ScriptLuaContext passed as ud
// and refuses to grow past its limit.
void* ScriptCappedAlloc(void* ud, void* ptr, size_t osize, size_t nsize);
