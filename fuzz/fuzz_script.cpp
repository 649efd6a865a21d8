// Arbitrary text as a rule file, whose functions are then called with nodes of a small profile:
// loading and calling either succeed or raise the program's exception; the limits keep every run
// short, and no edit may leave the document unparseable or crash.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "CQMVVLTException.h"
#include "CScriptEngine.h"
#include "XmlDom.h"

namespace {

constexpr std::string_view kProfile =
    R"(<?xml version="1.0" encoding="utf-8"?>
<QMVProfile xmlns="urn:varentis:qmv-vlt:profile"><limit max_num_of_contacts="150"/>
<Contacts><PublicGroups><PublicGroup cntct_type="2" name="A" pid="17179869183"/></PublicGroups>
<PrivateGroups/><Privates><Private cntct_type="0" name="B" pid="10000002"><ParentPrivateGroups/>
<scrolllist><list name="A"/></scrolllist></Private></Privates></Contacts>
<TextMessages><TextMessage txt="Hi"/></TextMessages></QMVProfile>)";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    XmlDocPtr doc = ParseXmlSafely(kProfile);
    if (!doc) {
        std::abort();
    }
    xmlNode* root = xmlDocGetRootElement(doc.get());
    xmlNode* contact = CXPath(doc.get()).SelectFirst("//dfns:Private");
    xmlAttr* name = xmlHasNsProp(contact, BAD_CAST "name", nullptr);

    CScriptEngine::Limits limits;
    limits.instructionsPerCall = 200'000;
    limits.memoryBytes = 8u << 20;
    CScriptEngine engine(limits);
    engine.SetErrorReporter([](const std::string&) {});
    try {
        engine.LoadScript(text);
    } catch (const CQMVVLTException&) {
    }
    for (const char* function : {"SetVal", "CanAddChild", "OnAddNew", "OnDelete", "IsEnabled"}) {
        try {
            if (engine.HasFunction(function)) {
                engine.CallFunction(function,
                                    {ScriptNode(contact), ScriptNode(name), ScriptText("x"),
                                     CScriptArgument::ByRef(0), ScriptInteger(1),
                                     CScriptArgument::ByRef(0), ScriptNode(root)});
            }
        } catch (const CQMVVLTException&) {
        }
    }
    engine.ReleaseDetachedNodes();
    if (!ParseXmlSafely(DocumentToString(doc.get()))) {
        fprintf(stderr, "%s\n", DocumentToString(doc.get()).c_str());
        std::abort();  // a script edit broke the document
    }
    return 0;
}
