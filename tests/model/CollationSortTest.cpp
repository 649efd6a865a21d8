#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "CQMVVLTException.h"
#include "Collation.h"
#include "TextCodec.h"
#include "XmlChildSort.h"

namespace {

int Sign(int v) {
    return (v > 0) - (v < 0);
}

std::vector<std::string> Keys(xmlNode* container, const char* key) {
    std::vector<std::string> keys;
    for (xmlNode* c = container->children; c; c = c->next) {
        keys.push_back(GetAttribute(c, key).value_or("?"));
    }
    return keys;
}

std::string ListDoc(const std::vector<std::string>& names) {
    std::string xml = "<QMVProfile xmlns=\"urn:varentis:qmv-vlt:profile\"><Contacts><Privates>\n";
    for (std::size_t i = 0; i < names.size(); ++i) {
        xml += "  <Private name=\"" + names[i] + "\" pid=\"" + std::to_string(i) + "\"/>\n";
    }
    return xml + "</Privates></Contacts></QMVProfile>";
}

}  // namespace

TEST(Collation, WeightsFollowTheNameOrder) {
    struct Case {
        std::u16string a, b;
        int sign;
    };
    const Case cases[] = {
        {u"Alpha", u"alpha", 0},         // case ignored
        {u"\u00e1lvaro", u"Alvaro", 0},  // á weighs as A
        {u"Alpha", u"\u00e1lvaro", -1},  // p before v
        {u"beta", u"\u00e1lvaro", 1},
        {u"A", u"AB", -1},           // a prefix sorts first
        {u"A B", u"AB", -1},         // space before letters
        {u"Z", u"0", -1},            // letters before digits
        {u"9", u"!", -1},            // digits before punctuation
        {u"~", u"\u0080", -1},       // ASCII signs before the high controls
        {u"\u00bf", u"\u00c6", -1},  // then the unfolded Latin-1 letters
        {u"Zz", u"\u00cba", -1},     // Ë sorts after all ASCII
        {u"\u00f1", u"N", 0},
        {u"\u00f8", u"o", 0},
        {u"\x01", u"0", -1},  // control codes between letters and digits
        {u"Z", u"\x01", -1},
        {u"", u"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(CompareContactNames(c.a, c.b)), c.sign)
            << Utf16ToUtf8(c.a) << " vs " << Utf16ToUtf8(c.b);
        EXPECT_EQ(Sign(CompareContactNames(c.b, c.a)), -c.sign);
    }
    EXPECT_EQ(CollationWeight(u' '), 1);
    EXPECT_EQ(CollationWeight(u'a'), 2);
    EXPECT_EQ(CollationWeight(u'Z'), 27);
    EXPECT_EQ(CollationWeight(u'\x1F'), 58);
    EXPECT_EQ(CollationWeight(u'9'), 68);
    EXPECT_EQ(CollationWeight(u'\x7F'), 101);
    EXPECT_EQ(CollationWeight(u'\u00bf'), 165);
    EXPECT_EQ(CollationWeight(u'\u00c6'), 166);
    EXPECT_EQ(CollationWeight(u'\u00ff'), 185);
}

TEST(XmlChildSort, SortsByCollationKeepingEqualsInFileOrder) {
    std::string text = ListDoc({"beta", "Alpha", "\xC3\xA1lvaro", "alpha", "Beta"});
    SortXMLChildNodes(text, "Privates", "name", true);
    XmlDocPtr doc = ParseXmlSafely(text);
    ASSERT_TRUE(doc);
    xmlNode* privates = CXPath(doc.get()).SelectFirst("//dfns:Privates");
    EXPECT_EQ(Keys(privates, "name"),
              (std::vector<std::string>{"Alpha", "alpha", "\xC3\xA1lvaro", "beta", "Beta"}));
    EXPECT_EQ(Keys(privates, "pid"), (std::vector<std::string>{"1", "3", "2", "0", "4"}));

    SortChildNodes(privates, "name", false);
    EXPECT_EQ(Keys(privates, "name"),
              (std::vector<std::string>{"beta", "Beta", "\xC3\xA1lvaro", "Alpha", "alpha"}));
}

TEST(XmlChildSort, BadTextAndMissingListsRaise) {
    struct Case {
        std::string text;
        const char* container;
        int code;
    };
    const Case cases[] = {
        {"<QMVProfile", "Privates", 105},
        {ListDoc({"a"}), "TextMessages", 106},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        try {
            SortXMLChildNodes(text, c.container, "name", true);
            ADD_FAILURE() << c.container;
        } catch (const CQMVVLTException& e) {
            EXPECT_EQ(e.Code(), c.code);
            EXPECT_EQ(text, c.text);  // untouched
        }
    }
}

TEST(XmlChildSort, ResortMovesOneRenamedChild) {
    struct Case {
        std::vector<std::string> names;
        int index;
        bool keepLast;
        int expectedIndex;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"Bob", "Carl", "Abe", "Dan"}, 2, false, 0, {"Abe", "Bob", "Carl", "Dan"}},
        {{"Ann", "Zoe", "Carl", "Dan"}, 1, false, 3, {"Ann", "Carl", "Dan", "Zoe"}},
        // an equal key stops the scan only at or after the former place
        {{"Ann", "Bob", "Bob", "Cy"}, 1, false, 1, {"Ann", "Bob", "Bob", "Cy"}},
        // the last child (e.g. a "new" placeholder) stays last
        {{"Ann", "Zoe", "Carl", "~new"}, 1, true, 2, {"Ann", "Carl", "Zoe", "~new"}},
        {{"Ann", "Bob"}, 5, false, 5, {"Ann", "Bob"}},  // out of range: nothing moves
    };
    for (const Case& c : cases) {
        XmlDocPtr doc = ParseXmlSafely(ListDoc(c.names), nullptr, XML_PARSE_NOBLANKS);
        ASSERT_TRUE(doc);
        xmlNode* privates = CXPath(doc.get()).SelectFirst("//dfns:Privates");
        EXPECT_EQ(ResortChild(privates, c.index, "name", c.keepLast), c.expectedIndex);
        EXPECT_EQ(Keys(privates, "name"), c.expected);
    }
}

TEST(XmlChildSort, CommentsInAListNeitherShiftPositionsNorSurviveASort) {
    const std::string xml =
        "<QMVProfile xmlns=\"urn:varentis:qmv-vlt:profile\"><Contacts><Privates>"
        "<!-- written by hand --><Private name=\"Ann\"/><Private name=\"Zoe\"/>"
        "<Private name=\"Bob\"/></Privates></Contacts></QMVProfile>";
    XmlDocPtr doc = ParseXmlSafely(xml, nullptr, XML_PARSE_NOBLANKS);
    ASSERT_TRUE(doc);
    xmlNode* privates = CXPath(doc.get()).SelectFirst("//dfns:Privates");
    // Position 1 among the contacts is Zoe, as the item API counts.
    EXPECT_EQ(ResortChild(privates, 1, "name", false), 2);
    EXPECT_EQ(Keys(privates, "name"), (std::vector<std::string>{"?", "Ann", "Bob", "Zoe"}));
    SortChildNodes(privates, "name", true);
    EXPECT_EQ(Keys(privates, "name"), (std::vector<std::string>{"Ann", "Bob", "Zoe"}));
}

TEST(Collation, ContainsIgnoresCaseAndFoldedAccents) {
    const struct {
        std::u16string text, part;
        bool found;
    } cases[] = {
        {u"Jos\u00e9 Mu\u00f1oz", u"jose", true},
        {u"Jos\u00e9 Mu\u00f1oz", u"MUNO", true},
        {u"Jose", u"jos\u00c9", true},
        {u"17179869100", u"869", true},
        {u"17179869100", u"8691000", false},
        {u"Bob", u"", true},
        {u"Bob", u"Bobby", false},
        {u"Stra\u00dfe", u"strasse", false},  // no base letter: compared as itself
        {u"a-b", u"a b", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ContainsContactText(c.text, c.part), c.found)
            << Utf16ToUtf8(c.text) << " / " << Utf16ToUtf8(c.part);
    }
}
