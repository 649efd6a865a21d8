#include <gtest/gtest.h>

#include "CDataItem.h"
#include "CQMVVLTException.h"
#include "CSchemaInfo.h"
#include "CScriptEngine.h"

namespace {

// A schema with one annotated attribute and types derived from the built-in ones.
const char* const kSchema = R"(<?xml version="1.0"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema"
           xmlns:cvlt="urn:varentis:qmv-vlt:script-extension"
           targetNamespace="urn:varentis:qmv-vlt:profile" elementFormDefault="qualified">
  <xs:simpleType name="Channel"><xs:restriction base="xs:unsignedLong"/></xs:simpleType>
  <xs:simpleType name="Big"><xs:restriction base="Channel"/></xs:simpleType>
  <xs:element name="list">
    <xs:complexType>
      <xs:sequence><xs:element name="item" maxOccurs="unbounded">
        <xs:complexType>
          <xs:attribute name="count" type="xs:long"/>
          <xs:attribute name="flag" type="xs:boolean"/>
          <xs:attribute name="big" type="Big"/>
          <xs:attribute name="name" type="xs:string">
            <xs:annotation><xs:appinfo>
              <cvlt:SchemaExtension SetVal="RefuseLong"/>
            </xs:appinfo></xs:annotation>
          </xs:attribute>
        </xs:complexType>
      </xs:element></xs:sequence>
    </xs:complexType>
  </xs:element>
</xs:schema>)";

const char* const kProfile =
    "<list xmlns=\"urn:varentis:qmv-vlt:profile\">"
    "<item count=\"-5\" flag=\"true\" big=\"4294967295\" name=\"a\"/>"
    "<item count=\"7\" flag=\"0\" big=\"12\" name=\"b\"/></list>";

class DataItem : public ::testing::Test {
  protected:
    DataItem()
        : m_schemaDoc(ParseXmlSafely(kSchema)),
          m_schema(m_schemaDoc.get()),
          m_doc(ParseXmlSafely(kProfile, nullptr, XML_PARSE_NOBLANKS)) {
        m_engine.LoadScript(
            "-- names longer than 3 characters are refused with message 165\n"
            "function RefuseLong(element, attribute, value, first, passed, second)\n"
            "  if #value > 3 then return 1, 165, 48 end\n"
            "  element:setAttribute('name', value)\n"
            "  return 0\n"
            "end\n");
    }
    CDataItem Root() { return CDataItem(&m_engine, &m_schema, xmlDocGetRootElement(m_doc.get())); }
    static int CodeOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const CQMVVLTException& e) {
            return e.Code();
        }
        return 0;
    }

    XmlDocPtr m_schemaDoc;
    CSchemaInfo m_schema;
    XmlDocPtr m_doc;
    CScriptEngine m_engine;
};

}  // namespace

TEST_F(DataItem, ValuesAreTypedByTheirSchemaType) {
    CDataItem first = Root().GetChildByIndex(0);
    EXPECT_EQ(first.GetAttributeValue("count"), CScriptValue(std::int64_t{-5}));
    EXPECT_EQ(first.GetAttributeValue("flag"), CScriptValue(true));
    // unsignedLong, through two derived types, is 32 bits wide and unsigned.
    EXPECT_EQ(first.GetAttributeValue("big"), CScriptValue(std::int64_t{4294967295}));
    EXPECT_EQ(first.GetAttributeValue("name"), CScriptValue(std::string("a")));
    EXPECT_EQ(CodeOf([&] { first.GetAttributeValue("missing"); }), 108);
}

TEST_F(DataItem, WithoutARuleTheDefaultsApply) {
    CDataItem root = Root();
    EXPECT_FALSE(root.CanAddChild());
    EXPECT_TRUE(root.IsEnabled());
    EXPECT_FALSE(root.AddNewChild().has_value());
    CDataItem item = root.GetChildByIndex(1);
    EXPECT_EQ(item.SetAttributeValue("flag", CScriptValue(true)), RuleResult{});
    EXPECT_EQ(GetAttribute(item.Node(), "flag"), "1");
    EXPECT_EQ(item.SetAttributeValue("count", CScriptValue(std::int64_t{42})), RuleResult{});
    EXPECT_EQ(GetAttribute(item.Node(), "count"), "42");

    EXPECT_TRUE(root.GetChildByIndex(2).IsEmpty());
    EXPECT_EQ(CodeOf([&] { root.RemoveChildByIndex(2); }), 108);
    EXPECT_EQ(CodeOf([&] { root.GetChildByName("nothing"); }), 107);
    EXPECT_EQ(root.RemoveChildByIndex(0), RuleResult{});
    EXPECT_EQ(root.GetChildCount(), 1);
    EXPECT_EQ(GetAttribute(root.GetChildByIndex(0).Node(), "name"), "b");
}

TEST_F(DataItem, RulesDecideAndNameTheirMessage) {
    CDataItem item = Root().GetChildByIndex(0);
    EXPECT_EQ(item.SetAttributeValue("name", ScriptText("toolong")), (RuleResult{1, 165, 48}));
    EXPECT_EQ(GetAttribute(item.Node(), "name"), "a");
    EXPECT_EQ(item.SetAttributeValue("name", ScriptText("ok")).result, 0);
    EXPECT_EQ(GetAttribute(item.Node(), "name"), "ok");
}
