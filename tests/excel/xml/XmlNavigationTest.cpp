#include "excel/xml/CXmlDocument.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace core {

namespace {

constexpr const char* kBook = "<?xml version=\"1.0\"?>\r\n<Book id='7'>\r\n<Sheet n=\"a\"/>\r\n<Note/>\r\n"
                              "<Sheet n=\"b\"><Cell>x &amp; y</Cell><Cell><![CDATA[<raw> &amp;]]></Cell></Sheet>\r\n"
                              "</Book>";

TEST(XmlNavigation, SeekWalksSiblingsAndChildren)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText(kBook));
    EXPECT_EQ(doc.CurrentName(), "");
    EXPECT_FALSE(doc.SeekChildElement("Sheet")); // no current element yet
    EXPECT_FALSE(doc.SeekElement("Sheet")); // not at the top level
    ASSERT_TRUE(doc.SeekElement("Book"));
    EXPECT_EQ(doc.CurrentName(), "Book");
    EXPECT_EQ(doc.GetAttr("id"), "7");
    ASSERT_TRUE(doc.SeekChildElement("Sheet"));
    EXPECT_EQ(doc.GetChildAttr("n"), "a");
    ASSERT_TRUE(doc.SeekChildElement("Sheet")); // skips Note
    EXPECT_EQ(doc.GetChildAttr("n"), "b");
    const XmlPosition atB = doc.Position();
    EXPECT_FALSE(doc.SeekChildElement("Sheet")); // not found: position unchanged
    EXPECT_EQ(doc.Position(), atB);
    ASSERT_TRUE(doc.EnterChild());
    EXPECT_EQ(doc.CurrentName(), "Sheet");
    EXPECT_EQ(doc.GetAttr("n"), "b");
    ASSERT_TRUE(doc.SeekChildElement("Cell"));
    ASSERT_TRUE(doc.EnterChild());
    EXPECT_EQ(doc.GetContent(), "x & y");
    ASSERT_TRUE(doc.SeekElement("Cell"));
    EXPECT_EQ(doc.GetContent(), "<raw> &amp;"); // CDATA unchanged
    EXPECT_FALSE(doc.SeekElement("Cell"));
    EXPECT_FALSE(doc.EnterChild()); // no child selected
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.CurrentName(), "Sheet");
    doc.Rewind();
    EXPECT_EQ(doc.CurrentName(), "");
    EXPECT_TRUE(doc.SeekElement()); // any name
    EXPECT_EQ(doc.CurrentName(), "Book");
}

TEST(XmlNavigation, NamesAreCaseSensitiveUnlessAsked)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<Book><Sheet/></Book>"));
    EXPECT_FALSE(doc.SeekElement("book"));
    doc.SetModeFlags(CXmlDocument::IgnoreCase);
    EXPECT_TRUE(doc.SeekElement("book"));
    EXPECT_TRUE(doc.SeekChildElement("SHEET"));
}

TEST(XmlNavigation, PrefixAliasesMatchByLocalName)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<Book><ss:Sheet/><o:Sheet/><Sheet/></Book>"));
    ASSERT_TRUE(doc.SeekElement("Book"));
    ASSERT_TRUE(doc.SeekChildElement("Sheet"));
    EXPECT_EQ(doc.Index()[doc.Position().child].start, 27u); // the plain one only
    doc.SetPrefixAliases({"ss"});
    doc.Rewind();
    ASSERT_TRUE(doc.SeekElement("Book"));
    ASSERT_TRUE(doc.SeekChildElement("Sheet"));
    EXPECT_EQ(doc.Index()[doc.Position().child].start, 6u); // ss:Sheet
    ASSERT_TRUE(doc.SeekChildElement("Sheet"));
    EXPECT_EQ(doc.Index()[doc.Position().child].start, 27u); // o:Sheet is not an alias
}

TEST(XmlNavigation, RememberedPositions)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText(kBook));
    EXPECT_FALSE(doc.ReturnToPosition("never"));
    ASSERT_TRUE(doc.SeekElement("Book"));
    ASSERT_TRUE(doc.SeekChildElement("Sheet"));
    const XmlPosition first = doc.Position();
    EXPECT_TRUE(doc.RememberPosition(""));
    // "ab" and "ba" share a bucket (same byte sum); both must be kept apart.
    EXPECT_TRUE(doc.RememberPosition("ab"));
    ASSERT_TRUE(doc.SeekChildElement("Sheet"));
    const XmlPosition second = doc.Position();
    EXPECT_TRUE(doc.RememberPosition("ba"));
    doc.Rewind();
    EXPECT_TRUE(doc.ReturnToPosition("ab"));
    EXPECT_EQ(doc.Position(), first);
    EXPECT_TRUE(doc.ReturnToPosition("ba"));
    EXPECT_EQ(doc.Position(), second);
    EXPECT_TRUE(doc.ReturnToPosition(""));
    EXPECT_EQ(doc.Position(), first);
    EXPECT_TRUE(doc.ReturnToPosition("ba"));
    EXPECT_TRUE(doc.RememberPosition("ab")); // storing again replaces
    doc.Rewind();
    EXPECT_TRUE(doc.ReturnToPosition("ab"));
    EXPECT_EQ(doc.Position(), second);
    EXPECT_TRUE(doc.SetText("<x/>")); // a new parse forgets them
    EXPECT_FALSE(doc.ReturnToPosition("ab"));
}

TEST(XmlNavigation, AttributesAndContentDecodeReferences)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a q=\"&quot;x&apos;&#65;\" bare=1 s='a\"b'>&lt;&#x42;&AMP;&unknown;<!-- c -->z</a>"));
    ASSERT_TRUE(doc.SeekElement("a"));
    EXPECT_EQ(doc.GetAttr("q"), "\"x'A");
    EXPECT_EQ(doc.GetAttr("bare"), "1");
    EXPECT_EQ(doc.GetAttr("s"), "a\"b");
    EXPECT_EQ(doc.GetAttr("missing"), "");
    EXPECT_TRUE(doc.HasAttr("bare"));
    EXPECT_FALSE(doc.HasAttr("missing"));
    EXPECT_EQ(doc.GetContent(), "<B&&unknown;z");
}

struct ContentCase
{
    const char* name;
    std::string text; // a document whose root element is read
    std::string content;
    std::string attrX; // the root's attribute "x"
};

void PrintTo(const ContentCase& c, std::ostream* os)
{
    *os << c.name;
}

class ContentTable : public testing::TestWithParam<ContentCase>
{ };

// Plain content is read in one step and everything else the long way: both must give the same.
TEST_P(ContentTable, ContentAndAttribute)
{
    const ContentCase& c = GetParam();
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText(c.text)) << doc.ResultLog();
    ASSERT_TRUE(doc.SeekElement());
    EXPECT_EQ(doc.GetContent(), c.content);
    std::string reused = "left over from an earlier read";
    doc.GetContent(reused);
    EXPECT_EQ(reused, c.content);
    EXPECT_EQ(doc.GetAttr("x"), c.attrX);
    EXPECT_EQ(doc.HasAttr("x"), !c.attrX.empty());
}

const ContentCase kContentCases[] = {
    {"Plain", "<a>12345</a>", "12345", ""},
    {"Empty", "<a></a>", "", ""},
    {"EmptyTag", "<a/>", "", ""},
    {"EmptyTagWithBlank", "<a />", "", ""},
    {"GreaterThanInText", "<a>1 > 0</a>", "1 > 0", ""},
    {"Reference", "<a>x&amp;y</a>", "x&y", ""},
    {"CrLf", "<a>1\r\n2\r3</a>", "1\n2\n3", ""},
    {"Comment", "<a>1<!-- 2 -->3</a>", "13", ""},
    {"CData", "<a><![CDATA[<b>]]></a>", "<b>", ""},
    {"Child", "<a>1<b>2</b>3</a>", "123", ""},
    {"EndTagBlank", "<a>v</a >", "v", ""},
    {"LongPlain", "<a>" + std::string(100, 'z') + "</a>", std::string(100, 'z'), ""},
    {"Attribute", "<a x='1'>v</a>", "v", "1"},
    {"QuotedGreaterThan", "<a x='>'>v</a>", "v", ">"},
    {"AttributeAfterSlash", "<a y='/>' x=\"2\">v</a>", "v", "2"},
    {"OtherAttributeOnly", "<a y='1'>v</a>", "v", ""},
    {"NameOnlyWithBlank", "<a >v</a>", "v", ""},
    {"LongName", "<" + std::string(70, 'n') + " x='3'>v</" + std::string(70, 'n') + ">", "v", "3"},
};

INSTANTIATE_TEST_SUITE_P(Xml,
                         ContentTable,
                         testing::ValuesIn(kContentCases),
                         [](const testing::TestParamInfo<ContentCase>& param) { return param.param.name; });

TEST(XmlNavigation, ContentReadsAcrossTheEditGap)
{
    // An edit leaves a gap in the text; reads of elements on either side of it, and of one it splits,
    // give what a fresh parse of the same text gives.
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<r><a>first</a><b x='1'>second</b></r>"));
    ASSERT_TRUE(doc.SeekElement("r"));
    ASSERT_TRUE(doc.SeekChildElement("a"));
    ASSERT_TRUE(doc.SetChildAttr("y", "added"));
    ASSERT_TRUE(doc.AppendChild("c", "third"));
    const std::vector<std::pair<std::string, std::string>> expected = {{"a", "first"}, {"b", "second"}, {"c", "third"}};
    for (const auto& [name, content] : expected) {
        doc.Rewind();
        ASSERT_TRUE(doc.SeekElement("r"));
        ASSERT_TRUE(doc.SeekChildElement(name)) << name;
        ASSERT_TRUE(doc.EnterChild());
        EXPECT_EQ(doc.GetContent(), content) << name;
    }
    doc.Rewind();
    ASSERT_TRUE(doc.SeekElement("r"));
    ASSERT_TRUE(doc.SeekChildElement("b"));
    EXPECT_EQ(doc.GetChildAttr("x"), "1");
}

} // namespace

} // namespace core
