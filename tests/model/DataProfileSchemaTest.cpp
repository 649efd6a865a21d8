#include <gtest/gtest.h>
#include <libxml/xmlschemas.h>
#include <libxml/xpathInternals.h>

#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "XmlDom.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct SchemaDeleter {
    void operator()(xmlSchema* s) const { xmlSchemaFree(s); }
};
struct ParserCtxtDeleter {
    void operator()(xmlSchemaParserCtxt* c) const { xmlSchemaFreeParserCtxt(c); }
};
struct ValidCtxtDeleter {
    void operator()(xmlSchemaValidCtxt* c) const { xmlSchemaFreeValidCtxt(c); }
};

void CollectError(void* ctx, const xmlError* error) {
    if (error && error->message) {
        static_cast<std::string*>(ctx)->append(error->message);
    }
}

// The installed schema, parsed safely and compiled from a copy (compiling prunes its document;
// the untouched original keeps the annotations for the handler lookup).
class DataProfileSchema : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::string error;
        original = ParseXmlSafely(
                       ReadFile(QMVVLT_SOURCE_DATA_DIR "/ProfileTemplate/DataProfile.xsd"), &error)
                       .release();
        ASSERT_NE(original, nullptr) << error;
        compiledFrom = xmlCopyDoc(original, 1);
        std::unique_ptr<xmlSchemaParserCtxt, ParserCtxtDeleter> parser(
            xmlSchemaNewDocParserCtxt(compiledFrom));
        xmlSchemaSetParserStructuredErrors(
            parser.get(), reinterpret_cast<xmlStructuredErrorFunc>(CollectError), &errors);
        schema = xmlSchemaParse(parser.get());
    }
    static void TearDownTestSuite() {
        xmlSchemaFree(schema);
        xmlFreeDoc(compiledFrom);
        xmlFreeDoc(original);
    }

    // "" when the text is a valid profile, otherwise the parser's or validator's reason.
    static std::string Validate(const std::string& text) {
        std::string reason;
        XmlDocPtr doc = ParseXmlSafely(text, &reason);
        if (!doc) {
            return "parse: " + reason;
        }
        std::unique_ptr<xmlSchemaValidCtxt, ValidCtxtDeleter> validator(
            xmlSchemaNewValidCtxt(schema));
        xmlSchemaSetValidStructuredErrors(
            validator.get(), reinterpret_cast<xmlStructuredErrorFunc>(CollectError), &reason);
        const int result = xmlSchemaValidateDoc(validator.get(), doc.get());
        return result == 0 ? std::string() : (reason.empty() ? "invalid" : reason);
    }

    static inline xmlDoc* original = nullptr;
    static inline xmlDoc* compiledFrom = nullptr;
    static inline xmlSchema* schema = nullptr;
    static inline std::string errors;
};

TEST_F(DataProfileSchema, CompilesAndAcceptsTheSampleProfile) {
    ASSERT_NE(schema, nullptr) << errors;
    EXPECT_EQ(Validate(ReadFile(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml")), "");
}

// Edits of the sample profile, each either still valid or refused.
TEST_F(DataProfileSchema, AcceptsAndRefusesEditsOfTheSample) {
    ASSERT_NE(schema, nullptr) << errors;
    const std::string sample = ReadFile(QMVVLT_SOURCE_DATA_DIR "/samples/SampleProfile.xml");
    struct Case {
        const char* what;
        const char* pattern;  // regex applied once to the sample
        const char* replacement;
        bool valid;
    };
    const std::string text26 = [] {
        std::string t;
        for (int i = 0; i < 26; ++i) {
            t += "<TextMessage txt=\"t" + std::to_string(i) + "\"/>";
        }
        return t;
    }();
    const std::string six = std::string("<ParentPrivateGroups>") +
                            "<ParentPrivateGroup pid=\"1\"/><ParentPrivateGroup pid=\"2\"/>"
                            "<ParentPrivateGroup pid=\"3\"/><ParentPrivateGroup pid=\"4\"/>"
                            "<ParentPrivateGroup pid=\"5\"/><ParentPrivateGroup pid=\"6\"/>";
    const std::vector<Case> cases = {
        {"field added by the settings documents", "<setting ", "<setting new_field=\"7\" ", true},
        {"version number of a sign-extended byte", "codeplug_version=\"16\"",
         "codeplug_version=\"4294967295\"", true},
        {"empty home group", "home_grp=\"10001000\"", "home_grp=\"\"", true},
        {"text with a line break (read from a radio)", "txt=\"On my way\"", "txt=\"On my&#10;way\"",
         true},
        {"private without lists", "<ParentPrivateGroups/>\\s*<scrolllist/>", "", true},
        {"no text messages", "<TextMessages>[^]*</TextMessages>", "<TextMessages/>", true},
        {"missing TextMessages", "<TextMessages>[^]*</TextMessages>", "", false},
        {"wrong namespace", "urn:varentis:qmv-vlt:profile", "urn:other", false},
        // A radio's damaged PID loads; the rule file flags it in the editor and before a write.
        {"letters in a PID", "pid=\"10000003\"", "pid=\"12AB\"", true},
        {"own PID placeholder", "<limit([^>]*) pid=\"[0-9]*\"", "<limit$1 pid=\"XXXXXXXXXXX\"",
         true},
        {"PID of 12 digits", "pid=\"10000003\"", "pid=\"100000000003\"", false},
        {"flag of 2", "in_scan_list=\"0\"", "in_scan_list=\"2\"", false},
        {"noise level above 15", "noise_level_radio=\"4\"", "noise_level_radio=\"16\"", false},
        {"number above 32 bits", "max_num_of_contacts=\"150\"",
         "max_num_of_contacts=\"4294967296\"", false},
        {"negative channel", "channel=\"2\"", "channel=\"-2\"", false},
        {"contact without name", "name=\"Dispatch\" ", "", false},
        {"26 text messages", "<TextMessages>[^]*</TextMessages>", nullptr,
         false},  // replaced below
        {"six parent groups", "<ParentPrivateGroups>", nullptr, false},
        {"unknown element", "<scrolllist/>", "<scrolllist/><extra/>", false},
        {"elements out of order", "(<setting[^>]*/>)\\s*(<Contacts>)", "$2$1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string replacement = c.replacement ? c.replacement : "";
        if (!c.replacement) {
            replacement = std::string(c.what) == "26 text messages"
                              ? "<TextMessages>" + text26 + "</TextMessages>"
                              : six;
        }
        const std::regex pattern(c.pattern, std::regex::ECMAScript);
        ASSERT_TRUE(std::regex_search(sample, pattern)) << "pattern not in the sample";
        const std::string edited = std::regex_replace(sample, pattern, replacement,
                                                      std::regex_constants::format_first_only);
        const std::string result = Validate(edited);
        EXPECT_EQ(result.empty(), c.valid) << result;
    }
}

// Handlers are read from the untouched schema document; every annotation must name a known event
// with a plausible function name, and the handlers the rules rely on must be present.
TEST_F(DataProfileSchema, AnnotationsNameHandlersOfKnownEvents) {
    XPathContextPtr ctx(xmlXPathNewContext(original));
    xmlXPathRegisterNs(ctx.get(), BAD_CAST "xs", BAD_CAST "http://www.w3.org/2001/XMLSchema");
    xmlXPathRegisterNs(ctx.get(), BAD_CAST "cvlt", BAD_CAST kScriptExtensionNamespaceUri);
    XPathObjectPtr all(xmlXPathEvalExpression(
        BAD_CAST "//xs:annotation/xs:appinfo/cvlt:SchemaExtension", ctx.get()));
    ASSERT_TRUE(all && all->nodesetval && all->nodesetval->nodeNr > 0);
    const std::set<std::string> events = {"SetVal",    "CanAddChild", "OnAddNew", "OnDelete",
                                          "IsEnabled", "LabelSuffix", "Check"};
    const std::regex functionName("[A-Z][A-Za-z]*");
    for (int i = 0; i < all->nodesetval->nodeNr; ++i) {
        for (xmlAttr* a = all->nodesetval->nodeTab[i]->properties; a; a = a->next) {
            const std::string event = reinterpret_cast<const char*>(a->name);
            EXPECT_TRUE(events.count(event)) << event;
            const auto value = GetAttribute(all->nodesetval->nodeTab[i], event.c_str());
            EXPECT_TRUE(value && std::regex_match(*value, functionName)) << event;
        }
    }

    // Declaration -> event -> handler, as the data items look them up.
    struct Case {
        const char* declaration;
        const char* event;
        const char* function;
    };
    const std::vector<Case> cases = {
        {"/xs:schema/xs:element[@name='Private']//xs:attribute[@name='name']", "SetVal",
         "SetContactName"},
        {"/xs:schema/xs:element[@name='PublicGroup']//xs:attribute[@name='channel']", "SetVal",
         "SetContactChannel"},
        {"/xs:schema/xs:element[@name='PublicGroup']//xs:attribute[@name='in_scan_list']", "SetVal",
         "SetInScanList"},
        {"/xs:schema/xs:element[@name='TextMessage']//xs:attribute[@name='txt']", "SetVal",
         "SetTextMessage"},
        {"/xs:schema/xs:element[@name='Privates']", "CanAddChild", "CanAddPrivate"},
        {"/xs:schema/xs:element[@name='Privates']", "OnAddNew", "AddPrivate"},
        {"/xs:schema/xs:element[@name='ParentPrivateGroups']", "CanAddChild", "CanAddParentGroup"},
        {"/xs:schema/xs:element[@name='PrivateGroup']", "OnDelete", "DeleteContact"},
        {"/xs:schema/xs:element[@name='TextMessages']", "IsEnabled", "IsTextMessagesEnabled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.declaration);
        const std::string expr =
            std::string(c.declaration) + "/xs:annotation/xs:appinfo/cvlt:SchemaExtension";
        XPathObjectPtr found(xmlXPathEvalExpression(BAD_CAST expr.c_str(), ctx.get()));
        ASSERT_TRUE(found && found->nodesetval && found->nodesetval->nodeNr == 1);
        EXPECT_EQ(GetAttribute(found->nodesetval->nodeTab[0], c.event), c.function);
    }
}

}  // namespace
