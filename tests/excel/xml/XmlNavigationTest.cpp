#include "excel/xml/CXmlDocument.h"

#include <gtest/gtest.h>

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

} // namespace

} // namespace core
