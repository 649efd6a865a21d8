#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CQMVVLTException.h"
#include "CScriptEngine.h"

namespace {

// An engine whose error reports are collected instead of printed.
struct ReportingEngine {
    explicit ReportingEngine(CScriptEngine::Limits limits = CScriptEngine::Limits{})
        : engine(limits) {
        engine.SetErrorReporter([this](const std::string& text) { reports.push_back(text); });
    }
    CScriptEngine engine;
    std::vector<std::string> reports;
};

// Runs f and returns the code of the CQMVVLTException it raises (0 when none).
template <class F>
int CodeOf(F&& f, std::string* message = nullptr) {
    try {
        f();
    } catch (const CQMVVLTException& e) {
        if (message) {
            *message = e.Message();
        }
        return e.Code();
    }
    return 0;
}

TEST(CScriptEngine, PassesEachArgumentKindAndReturnsItsResult) {
    ReportingEngine r;
    r.engine.LoadScript(R"lua(--
function Echo(v) return v end
function Kind(v) return math.type(v) or type(v) end
)lua");
    struct Case {
        CScriptValue in;
        const char* kind;
    };
    const std::vector<Case> cases = {
        {CScriptValue(), "nil"},
        {CScriptValue(true), "boolean"},
        {CScriptValue(false), "boolean"},
        {CScriptValue(std::int64_t{-17179869183}), "integer"},
        {CScriptValue(2.5), "float"},
        {CScriptValue(std::string("Ana \xC3\xA1")), "string"},
        {CScriptValue(std::string("a\0b", 3)), "string"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(r.engine.CallFunction("Echo", {c.in}).value, c.in);
        EXPECT_EQ(std::get<std::string>(r.engine.CallFunction("Kind", {c.in}).value), c.kind);
    }
    EXPECT_TRUE(r.reports.empty());
}

TEST(CScriptEngine, ByReferenceIntegersComeBackAsExtraResults) {
    ReportingEngine r;
    r.engine.LoadScript(R"lua(--
function SetVal(elem, attr, value, first, passed, second)
  return 1, 165, passed * 2
end
function OnlyResult(first, passed, second) return 7 end
function NilFirst(first, passed, second) return 0, nil, 9 end
)lua");
    const auto full = r.engine.CallFunction(
        "SetVal", {CScriptValue(), CScriptValue(), ScriptText("x"), CScriptArgument::ByRef(0),
                   ScriptInteger(21), CScriptArgument::ByRef(0)});
    EXPECT_EQ(full.value, CScriptValue(std::int64_t{1}));
    EXPECT_EQ(full.byRef, (std::vector<std::int64_t>{165, 42}));

    // Values the function does not return keep what was passed in.
    const auto none = r.engine.CallFunction(
        "OnlyResult", {CScriptArgument::ByRef(3), ScriptInteger(0), CScriptArgument::ByRef(4)});
    EXPECT_EQ(none.value, CScriptValue(std::int64_t{7}));
    EXPECT_EQ(none.byRef, (std::vector<std::int64_t>{3, 4}));

    const auto partial = r.engine.CallFunction(
        "NilFirst", {CScriptArgument::ByRef(5), ScriptInteger(0), CScriptArgument::ByRef(0)});
    EXPECT_EQ(partial.byRef, (std::vector<std::int64_t>{5, 9}));
}

TEST(CScriptEngine, ReportsRuntimeErrorWithItsLineAndRaises106) {
    ReportingEngine r;
    r.engine.LoadScript(
        "--\nfunction Ok() return 1 end\n\nfunction Bad(t)\n  return t.x + 1\nend\n"
        "function Raise() error('no such contact') end\n");
    struct Case {
        const char* function;
        const char* expectedReportStart;
        const char* expectedText;
    };
    const std::vector<Case> cases = {
        {"Bad", "IActiveScriptSite::OnScriptError()\nLine: 5\n", "attempt to index"},
        {"Raise", "IActiveScriptSite::OnScriptError()\nLine: 7\n", "no such contact"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.function);
        r.reports.clear();
        std::string message;
        EXPECT_EQ(CodeOf([&] { r.engine.CallFunction(c.function, {CScriptValue()}); }, &message),
                  106);
        ASSERT_EQ(r.reports.size(), 1u);
        EXPECT_EQ(r.reports[0].rfind(c.expectedReportStart, 0), 0u) << r.reports[0];
        EXPECT_NE(r.reports[0].find(c.expectedText), std::string::npos) << r.reports[0];
        // The location prefix is not repeated in the description.
        EXPECT_EQ(r.reports[0].find("DataProfile.lua:"), std::string::npos) << r.reports[0];
        EXPECT_NE(message.find(std::string("function name=") + c.function), std::string::npos);
    }
    // The engine stays usable after a failed call.
    EXPECT_EQ(r.engine.CallFunction("Ok", {}).value, CScriptValue(std::int64_t{1}));
}

TEST(CScriptEngine, SyntaxErrorIsReportedWithItsLineAndFailsTheLoad) {
    ReportingEngine r;
    std::string message;
    EXPECT_EQ(CodeOf([&] { r.engine.LoadScript("--\nlocal a = 1\n\nfunction f(\n  x y\nend\n"); },
                     &message),
              101);
    ASSERT_EQ(r.reports.size(), 1u);
    EXPECT_EQ(r.reports[0].rfind("IActiveScriptSite::OnScriptError()\nLine: 5\n", 0), 0u)
        << r.reports[0];
    EXPECT_EQ(message.rfind("ParseScriptText failed", 0), 0u) << message;

    // An error while the top level runs fails the load as well.
    r.reports.clear();
    EXPECT_EQ(CodeOf([&] { r.engine.LoadScript("--\n\nlocal x = nil + 1\n"); }, &message), 101);
    ASSERT_EQ(r.reports.size(), 1u);
    EXPECT_NE(r.reports[0].find("Line: 3\n"), std::string::npos) << r.reports[0];
}

TEST(CScriptEngine, MissingFunctionRaises106WithoutAReport) {
    ReportingEngine r;
    r.engine.LoadScript("--\nNotAFunction = 5\n");
    EXPECT_FALSE(r.engine.HasFunction("CanAddChild"));
    EXPECT_FALSE(r.engine.HasFunction("NotAFunction"));
    std::string message;
    EXPECT_EQ(CodeOf([&] { r.engine.CallFunction("CanAddChild", {}); }, &message), 106);
    EXPECT_NE(message.find("function name=CanAddChild"), std::string::npos);
    EXPECT_EQ(CodeOf([&] { r.engine.CallFunction("NotAFunction", {}); }), 106);
    EXPECT_TRUE(r.reports.empty());
}

TEST(CScriptEngine, LookupIgnoresMetamethodsOfTheGlobalTable) {
    ReportingEngine r;
    r.engine.LoadScript(
        "--\nsetmetatable(_G, {__index = function() while true do end end})\n"
        "function Real() return 1 end\n");
    EXPECT_TRUE(r.engine.HasFunction("Real"));
    EXPECT_FALSE(r.engine.HasFunction("Ghost"));
    EXPECT_EQ(CodeOf([&] { r.engine.CallFunction("Ghost", {}); }), 106);
}

TEST(CScriptEngine, SandboxOffersNoFileOrProcessAccess) {
    ReportingEngine r;
    r.engine.LoadScript(R"lua(--
function Probe(name)
  local v = _G
  for part in string.gmatch(name, "[^.]+") do
    if type(v) ~= "table" then return "nil" end
    v = v[part]
  end
  return type(v)
end
)lua");
    struct Case {
        const char* global;
        const char* type;
    };
    const std::vector<Case> cases = {
        {"os", "nil"},
        {"io", "nil"},
        {"dofile", "nil"},
        {"loadfile", "nil"},
        {"require", "nil"},
        {"package", "nil"},
        {"debug", "nil"},
        {"collectgarbage", "nil"},
        {"string.dump", "nil"},
        {"print", "nil"},
        {"coroutine", "nil"},
        {"string.format", "function"},
        {"table.sort", "function"},
        {"math.floor", "function"},
        {"pcall", "function"},
        {"load", "function"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.global);
        EXPECT_EQ(r.engine.CallFunction("Probe", {ScriptText(c.global)}).value,
                  CScriptValue(std::string(c.type)));
    }
}

TEST(CScriptEngine, BinaryChunksAreRefused) {
    // A precompiled chunk starts with the signature "\x1bLua".
    const std::string binary = std::string("\x1bLua\x54\x00", 6) + std::string(40, '\x01');
    ReportingEngine r;
    EXPECT_EQ(CodeOf([&] { r.engine.LoadScript(binary); }), 101);
    ASSERT_EQ(r.reports.size(), 1u);
    EXPECT_NE(r.reports[0].find("binary"), std::string::npos) << r.reports[0];

    // load() inside a script is restricted to text as well, whatever mode it asks for.
    r.engine.LoadScript(R"lua(--
function TryLoad(chunk)
  local f, err = load(chunk, "x", "b")
  if f then return "loaded" end
  return err
end
)lua");
    const auto result = r.engine.CallFunction("TryLoad", {ScriptText(binary)});
    EXPECT_NE(std::get<std::string>(result.value).find("binary"), std::string::npos);
    EXPECT_EQ(r.engine.CallFunction("TryLoad", {ScriptText("return 1")}).value,
              CScriptValue(std::string("loaded")));
}

TEST(CScriptEngine, InstructionLimitStopsEndlessLoops) {
    CScriptEngine::Limits limits;
    limits.instructionsPerCall = 200'000;
    ReportingEngine r(limits);
    r.engine.LoadScript(R"lua(--
function Spin() while true do end end
function SpinCaught()
  -- A script must not be able to swallow the limit.
  while true do pcall(function() while true do end end) end
end
function SpinXpcall()
  while true do xpcall(function() while true do end end, function(e) return e end) end
end
function Small() local s = 0 for i = 1, 1000 do s = s + i end return s end
)lua");
    for (const char* function : {"Spin", "SpinCaught", "SpinXpcall"}) {
        SCOPED_TRACE(function);
        r.reports.clear();
        EXPECT_EQ(CodeOf([&] { r.engine.CallFunction(function, {}); }), 106);
        ASSERT_EQ(r.reports.size(), 1u);
        EXPECT_NE(r.reports[0].find("instruction limit"), std::string::npos) << r.reports[0];
    }
    // Each call gets a fresh budget.
    EXPECT_EQ(r.engine.CallFunction("Small", {}).value, CScriptValue(std::int64_t{500500}));
}

TEST(CScriptEngine, MemoryCapStopsRunawayAllocation) {
    CScriptEngine::Limits limits;
    limits.memoryBytes = 4u << 20;
    ReportingEngine r(limits);
    r.engine.LoadScript(R"lua(--
function Grow() local t = {} for i = 1, 1e9 do t[i] = i end end
function Huge() return #string.rep("x", 1 << 30) end
function GrowCaught()
  local ok = pcall(function() local t = {} for i = 1, 1e9 do t[i] = {} end end)
  return "swallowed"
end
function Fine() return #string.rep("x", 1000) end
)lua");
    for (const char* function : {"Grow", "Huge", "GrowCaught"}) {
        SCOPED_TRACE(function);
        r.reports.clear();
        EXPECT_EQ(CodeOf([&] { r.engine.CallFunction(function, {}); }), 106);
        ASSERT_EQ(r.reports.size(), 1u);
        EXPECT_NE(r.reports[0].find("memory"), std::string::npos) << r.reports[0];
        EXPECT_LE(r.engine.MemoryInUse(), limits.memoryBytes);
    }
    EXPECT_EQ(r.engine.CallFunction("Fine", {}).value, CScriptValue(std::int64_t{1000}));
}

TEST(CScriptEngine, BacktrackingPatternsCannotHang) {
    ReportingEngine r;
    r.engine.LoadScript(R"lua(--
function Find(n, pattern, plain) return (string.find(string.rep("a", n), pattern, 1, plain)) end
function Method(n, pattern) return (string.rep("a", n)):match(pattern) ~= nil end
function Gsub(n, pattern) return (select(2, string.gsub(string.rep("a", n), pattern, ""))) end
function Iso(name) return name:find("[\196-\255]") == nil end
)lua");
    struct Case {
        const char* function;
        std::int64_t length;
        const char* pattern;
        bool refused;
    };
    const std::vector<Case> cases = {
        // Quantifiers inside sets and escaped ones do not count.
        {"Find", 20000, "a[*+?-]%-b", false}, {"Find", 5000, "a*b", false},
        {"Find", 20000, "a*b", true},         {"Find", 1000, ".-.-.-.-b", true},  // would take days
        {"Method", 5000, "(a*)*b", true},     {"Gsub", 50, "a-a-a-b", false},
        {"Gsub", 5000, "a-a-a-b", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.function) + " " + c.pattern);
        r.reports.clear();
        std::vector<CScriptArgument> args = {ScriptInteger(c.length), ScriptText(c.pattern)};
        if (c.refused) {
            EXPECT_EQ(CodeOf([&] { r.engine.CallFunction(c.function, args); }), 106);
            ASSERT_EQ(r.reports.size(), 1u);
            EXPECT_NE(r.reports[0].find("too complex"), std::string::npos) << r.reports[0];
        } else {
            EXPECT_NO_THROW(r.engine.CallFunction(c.function, args));
        }
    }
    // Plain searches are linear and always allowed.
    EXPECT_EQ(
        r.engine
            .CallFunction("Find", {ScriptInteger(1000000), ScriptText(".-.-b"), CScriptValue(true)})
            .value,
        CScriptValue());
    EXPECT_EQ(r.engine.CallFunction("Iso", {ScriptText("Jos\xC3\xA9")}).value, CScriptValue(true));
    EXPECT_EQ(r.engine.CallFunction("Iso", {ScriptText("\xC5\x81ukasz")}).value,
              CScriptValue(false));
}

TEST(CScriptEngine, FinalizersAreRefused) {
    // A __gc finalizer runs without the instruction hook, so it could hang the program.
    ReportingEngine r;
    r.engine.LoadScript(
        "--\nfunction Make() setmetatable({}, {__gc = function() while true do end end}) end\n"
        "function Plain() return getmetatable(setmetatable({}, {__index = {a = 3}})) ~= nil end\n");
    EXPECT_EQ(CodeOf([&] { r.engine.CallFunction("Make", {}); }), 106);
    ASSERT_EQ(r.reports.size(), 1u);
    EXPECT_NE(r.reports[0].find("__gc"), std::string::npos);
    EXPECT_EQ(r.engine.CallFunction("Plain", {}).value, CScriptValue(true));
}

TEST(CScriptEngine, UnsupportedResultKindFailsTheCall) {
    ReportingEngine r;
    r.engine.LoadScript("--\nfunction Table() return {} end\n");
    EXPECT_EQ(CodeOf([&] { r.engine.CallFunction("Table", {}); }), 106);
    EXPECT_EQ(r.reports.size(), 1u);
}

TEST(CScriptEngine, DefaultReporterIsUsedWhenNoneIsSet) {
    std::vector<std::string> seen;
    CScriptEngine::SetDefaultErrorReporter([&](const std::string& text) { seen.push_back(text); });
    {
        CScriptEngine engine;
        engine.LoadScript("--\nfunction Bad() error('x') end\n");
        EXPECT_EQ(CodeOf([&] { engine.CallFunction("Bad", {}); }), 106);
    }
    CScriptEngine::SetDefaultErrorReporter(nullptr);
    EXPECT_EQ(seen.size(), 1u);
}

TEST(CScriptEngine, StartUpCheckAndPlainTextMarker) {
    EXPECT_TRUE(CScriptEngine::IsAvailable());
    EXPECT_TRUE(CScriptEngine::IsPlainRuleText("-- rules\nfunction f() end"));
    EXPECT_FALSE(CScriptEngine::IsPlainRuleText("function f() end"));
    EXPECT_FALSE(CScriptEngine::IsPlainRuleText("-"));
    EXPECT_FALSE(CScriptEngine::IsPlainRuleText("\x93\x12scrambled"));
}

TEST(CScriptValue, ConversionsOfResults) {
    struct Case {
        CScriptValue value;
        std::int32_t asInt;
        bool asBool;
        const char* asText;
    };
    const std::vector<Case> cases = {
        {CScriptValue(), 0, false, ""},
        {CScriptValue(true), 1, true, "1"},
        {CScriptValue(false), 0, false, "0"},
        {CScriptValue(std::int64_t{0}), 0, false, "0"},
        {CScriptValue(std::int64_t{165}), 165, true, "165"},
        {CScriptValue(std::int64_t{0x1'0000'0002}), 2, true, "4294967298"},
        {CScriptValue(std::int64_t{-1}), -1, true, "-1"},
        {CScriptValue(2.9), 2, true, "2.8999999999999999"},
        {CScriptValue(4.0), 4, true, "4"},
        {CScriptValue(1e300), -1, true, "1.0000000000000001e+300"},
        {CScriptValue(std::string("12abc")), 12, true, "12abc"},
        {CScriptValue(std::string("True")), 0, true, "True"},
        {CScriptValue(std::string("0")), 0, false, "0"},
        {CScriptValue(std::string("")), 0, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asText);
        EXPECT_EQ(ScriptToInt32(c.value), c.asInt);
        EXPECT_EQ(ScriptToBool(c.value), c.asBool);
        EXPECT_EQ(ScriptToText(c.value), c.asText);
    }
}

}  // namespace
