#include "excel/xml/CXmlDocument.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace core {

namespace {

// Opens text and puts doc inside its element `name` (at the top, or inside q, where it has
// siblings and a parent after it), on its child `after` when one is given.
void PlaceIn(CXmlDocument& doc, std::string_view text, std::string_view name, const char* after)
{
    ASSERT_TRUE(doc.SetText(text));
    if (!doc.SeekElement(name)) {
        doc.Rewind();
        ASSERT_TRUE(doc.SeekElement("q"));
        ASSERT_TRUE(doc.SeekChildElement(name));
        ASSERT_TRUE(doc.EnterChild());
    }
    if (after != nullptr) {
        ASSERT_TRUE(doc.SeekChildElement(after));
    }
}

// Appends a Cell holding a String Data element one step at a time, as the held form does at once.
void AppendCellInTurn(CXmlDocument& doc, std::string_view text)
{
    ASSERT_TRUE(doc.AppendChild("Cell"));
    ASSERT_TRUE(doc.EnterChild());
    ASSERT_TRUE(doc.AppendChildWithAttrs("Data", text, {{"ss:Type", "String"}}));
    ASSERT_TRUE(doc.LeaveElement());
}

// The index after edits must equal the index a fresh parse of the same text builds.
void ExpectIndexMatchesReparse(const CXmlDocument& doc)
{
    CXmlDocument fresh;
    ASSERT_TRUE(fresh.SetText(doc.Text()));
    ASSERT_EQ(fresh.Index().Count(), doc.Index().Count());
    // Records are numbered in creation order, so compare by walking both trees in document order.
    std::uint32_t a = doc.Index()[0].firstChild;
    std::uint32_t b = fresh.Index()[0].firstChild;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> stack;
    while (a != 0 || b != 0) {
        ASSERT_TRUE(a != 0 && b != 0);
        const XmlNode& x = doc.Index()[a];
        const XmlNode& y = fresh.Index()[b];
        ASSERT_EQ(x.start, y.start);
        ASSERT_EQ(x.length, y.length);
        const XmlTagLengths xl = doc.TagLengths(a);
        const XmlTagLengths yl = fresh.TagLengths(b);
        ASSERT_EQ(xl.startTag, yl.startTag);
        ASSERT_EQ(xl.endTag, yl.endTag);
        ASSERT_EQ(xl.name, yl.name);
        ASSERT_EQ(x.empty, y.empty);
        ASSERT_EQ(x.unended, y.unended);
        ASSERT_EQ(x.firstChild == 0, y.firstChild == 0);
        if (x.firstChild != 0 || y.firstChild != 0) {
            stack.emplace_back(doc.Index().Next(a), fresh.Index().Next(b));
            a = x.firstChild;
            b = y.firstChild;
            continue;
        }
        a = doc.Index().Next(a);
        b = fresh.Index().Next(b);
        while (a == 0 && b == 0 && !stack.empty()) {
            std::tie(a, b) = stack.back();
            stack.pop_back();
        }
    }
    EXPECT_EQ(doc.Index()[0].length, fresh.Index()[0].length);
    // Every record is found among the children of the parent its links lead to.
    for (std::uint32_t node = 1; node < doc.Index().Count(); ++node) {
        std::uint32_t child = doc.Index()[doc.Index().Parent(node)].firstChild;
        while (child != 0 && child != node) {
            child = doc.Index().Next(child);
        }
        ASSERT_EQ(child, node);
    }
}

TEST(XmlEdit, AddedElementsAreLaidOutOnLinesOfTheirOwn)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<Table x=\"1\"/>"));
    ASSERT_TRUE(doc.SeekElement("Table"));
    ASSERT_TRUE(doc.AppendChild("Row"));
    EXPECT_EQ(doc.Text(), "<Table x=\"1\">\r\n<Row/>\r\n</Table>");
    ASSERT_TRUE(doc.SetChildAttr("ss:AutoFitHeight", 0));
    ASSERT_TRUE(doc.EnterChild());
    ASSERT_TRUE(doc.AppendChild("Cell"));
    ASSERT_TRUE(doc.AppendChild("Cell"));
    ASSERT_TRUE(doc.EnterChild());
    ASSERT_TRUE(doc.AppendChild("Data", "a<b"));
    ASSERT_TRUE(doc.SetChildAttr("ss:Type", "String"));
    EXPECT_EQ(doc.Text(),
              "<Table x=\"1\">\r\n<Row ss:AutoFitHeight=\"0\">\r\n<Cell/>\r\n<Cell>\r\n"
              "<Data ss:Type=\"String\">a&lt;b</Data>\r\n</Cell>\r\n</Row>\r\n</Table>");
    ExpectIndexMatchesReparse(doc);
    EXPECT_TRUE(doc.SeekChildElement("Data") == false); // the new child is current; nothing after it
    EXPECT_TRUE(doc.IsWellFormed());
}

TEST(XmlEdit, ChildGoesAfterTheCurrentChildOrLast)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<r><a/><c/></r>"));
    ASSERT_TRUE(doc.SeekElement("r"));
    ASSERT_TRUE(doc.SeekChildElement("a"));
    ASSERT_TRUE(doc.AppendChild("b"));
    doc.SetPosition(XmlPosition{0, doc.Position().current, 0});
    ASSERT_TRUE(doc.AppendChild("d", "t"));
    EXPECT_EQ(doc.Text(), "<r><a/>\r\n<b/><c/>\r\n<d>t</d></r>");
    ExpectIndexMatchesReparse(doc);
    // Element with text but no children: the child goes before the end tag.
    ASSERT_TRUE(doc.SetText("<r>text</r>"));
    ASSERT_TRUE(doc.SeekElement("r"));
    ASSERT_TRUE(doc.AppendChildCData("c", "x]]>y"));
    EXPECT_EQ(doc.Text(), "<r>text\r\n<c><![CDATA[x]]]]><![CDATA[>y]]></c></r>");
    ASSERT_TRUE(doc.EnterChild());
    EXPECT_EQ(doc.GetContent(), "x]]>y");
}

TEST(XmlEdit, AttributesReplaceInPlaceOrAppend)
{
    struct Case
    {
        const char* text;
        const char* name;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"<a/>", "n", "v", "<a n=\"v\"/>"},
        {"<a></a>", "n", "v", "<a n=\"v\"></a>"},
        {"<a n=\"old\" m='1'/>", "n", "new", "<a n=\"new\" m='1'/>"},
        {"<a m='1'/>", "m", "22", "<a m='22'/>"},
        {"<a/>", "q", "\"it's\" <&>", "<a q=\"&quot;it&apos;s&quot; &lt;&amp;&gt;\"/>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CXmlDocument doc;
        ASSERT_TRUE(doc.SetText(c.text));
        ASSERT_TRUE(doc.SeekElement());
        ASSERT_TRUE(doc.SetAttr(c.name, c.value));
        EXPECT_EQ(doc.Text(), c.expected);
        EXPECT_EQ(doc.GetAttr(c.name), c.value);
        ExpectIndexMatchesReparse(doc);
    }
}

TEST(XmlEdit, EditsRefusedWithoutElementOrInStreamModes)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a/>"));
    EXPECT_FALSE(doc.AppendChild("b")); // no current element
    EXPECT_FALSE(doc.SetAttr("x", "1"));
    EXPECT_FALSE(doc.SetChildAttr("x", "1"));
    ASSERT_TRUE(doc.SeekElement("a"));
    // Names that would not read back as one name are refused.
    for (const char* name : {"", "a b", "a>", "x/", "1a", "-a", "a=b", "q\"", "&amp;"}) {
        EXPECT_FALSE(doc.AppendChild(name)) << name;
        EXPECT_FALSE(doc.SetAttr(name, "v")) << name;
    }
    EXPECT_TRUE(doc.SetAttr("ss:Name", "v"));
    EXPECT_TRUE(doc.AppendChild("_x.y-z"));
    ASSERT_TRUE(doc.SetText("<a/>"));
    ASSERT_TRUE(doc.SeekElement("a"));
    doc.SetModeFlags(CXmlDocument::ReadOnlyStream);
    EXPECT_FALSE(doc.AppendChild("b"));
    EXPECT_FALSE(doc.LoadFile("/nonexistent"));
    doc.SetModeFlags(CXmlDocument::WriteOnlyStream);
    EXPECT_FALSE(doc.SetAttr("x", "1"));
    EXPECT_EQ(doc.Text(), "<a/>");
}

// What AppendChildHolding writes and indexes: the same as adding the element, entering it and
// adding its child, in every kind of container and for texts that need escaping.
TEST(XmlEdit, ElementHoldingAChildIsTheSameAsAddingBothInTurn)
{
    struct Case
    {
        const char* text;
        const char* after; // the current child to add after; nullptr: added last
        const char* childText;
    };
    const Case cases[] = {
        {"<r/>", nullptr, "v"},
        {"<r x=\"1\"/>", nullptr, ""},
        {"<r></r>", nullptr, "a<b&\"c\""},
        {"<r>text</r>", nullptr, "v"},
        {"<r><a/><c/></r>", nullptr, "v"},
        {"<r><a/><c>t</c></r>", "a", "v"},
        {"<q><r><a/></r><s/></q>", nullptr, "]]>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CXmlDocument inTurn;
        CXmlDocument held;
        for (CXmlDocument* doc : {&inTurn, &held}) {
            ASSERT_NO_FATAL_FAILURE(PlaceIn(*doc, c.text, "r", c.after));
        }
        ASSERT_NO_FATAL_FAILURE(AppendCellInTurn(inTurn, c.childText));
        ASSERT_TRUE(held.AppendChildHolding("Cell", "Data", c.childText, {{"ss:Type", "String"}}));
        EXPECT_EQ(held.Text(), inTurn.Text());
        ExpectIndexMatchesReparse(held);
        // The new element is the current child: its data reads back, and the next element goes after it.
        ASSERT_TRUE(held.EnterChild());
        EXPECT_EQ(held.CurrentName(), "Cell");
        ASSERT_TRUE(held.SeekChildElement("Data"));
        EXPECT_EQ(held.GetChildAttr("ss:Type"), "String");
        ASSERT_TRUE(held.EnterChild());
        EXPECT_EQ(held.GetContent(), c.childText);
        ASSERT_TRUE(held.LeaveElement());
        ASSERT_TRUE(held.LeaveElement());
        ASSERT_TRUE(inTurn.AppendChild("z", "1"));
        ASSERT_TRUE(held.AppendChild("z", "1"));
        EXPECT_EQ(held.Text(), inTurn.Text());
        ExpectIndexMatchesReparse(held);
    }
}

TEST(XmlEdit, ElementHoldingAChildIsRefusedWholeOrAddedWhole)
{
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<r/>"));
    EXPECT_FALSE(doc.AppendChildHolding("a", "b", "t", {})); // no current element
    ASSERT_TRUE(doc.SeekElement("r"));
    for (const auto& [name, childName] : {std::pair{"a b", "c"}, {"a", "c d"}, {"", "c"}, {"a", ""}, {"a", "1c"}}) {
        EXPECT_FALSE(doc.AppendChildHolding(name, childName, "t", {})) << name << " / " << childName;
    }
    EXPECT_EQ(doc.Text(), "<r/>");
    doc.SetModeFlags(CXmlDocument::ReadOnlyStream);
    EXPECT_FALSE(doc.AppendChildHolding("a", "b", "t", {}));
    EXPECT_EQ(doc.Text(), "<r/>");
    EXPECT_EQ(doc.Index().Count(), 2U);
}

// AppendChildHoldingEach writes and indexes what adding the element and then each child holding
// its grandchild writes, wherever the element goes.
TEST(XmlEdit, ElementHoldingPairsIsTheSameAsAddingThemInTurn)
{
    struct Case
    {
        const char* text;
        const char* after; // the current child to add after; nullptr: added last
        std::vector<std::string_view> texts;
    };
    const Case cases[] = {
        {"<t/>", nullptr, {"a", "b"}},
        {"<t></t>", nullptr, {""}},
        {"<t>text</t>", nullptr, {"a<b", "", "c&d\"e'"}},
        {"<t><x/><y>1</y></t>", nullptr, {"a"}},
        {"<t><x/><y>1</y></t>", "x", {"a", "b", "c"}},
        {"<q><t/><s>2</s></q>", nullptr, {"]]>", "z"}},
        {"<t/>", nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CXmlDocument inTurn;
        CXmlDocument held;
        for (CXmlDocument* doc : {&inTurn, &held}) {
            ASSERT_NO_FATAL_FAILURE(PlaceIn(*doc, c.text, "t", c.after));
        }
        ASSERT_TRUE(inTurn.AppendChildWithAttrs("Row", {}, {{"h", "0"}}));
        ASSERT_TRUE(inTurn.EnterChild());
        for (const std::string_view text : c.texts) {
            ASSERT_TRUE(inTurn.AppendChildHolding("Cell", "Data", text, {{"ss:Type", "String"}}));
        }
        ASSERT_TRUE(inTurn.LeaveElement());
        ASSERT_TRUE(held.AppendChildHoldingEach("Row", {{"h", "0"}}, "Cell", "Data", {{"ss:Type", "String"}}, c.texts));
        EXPECT_EQ(held.Text(), inTurn.Text());
        ExpectIndexMatchesReparse(held);
        // The new element is the current child; the next one goes after it.
        ASSERT_TRUE(inTurn.AppendChild("z", "1"));
        ASSERT_TRUE(held.AppendChild("z", "1"));
        EXPECT_EQ(held.Text(), inTurn.Text());
        ExpectIndexMatchesReparse(held);
    }
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<t/>"));
    const std::string_view texts[] = {"a"};
    EXPECT_FALSE(doc.AppendChildHoldingEach("Row", {}, "Cell", "Data", {}, texts)); // no current element
    ASSERT_TRUE(doc.SeekElement("t"));
    EXPECT_FALSE(doc.AppendChildHoldingEach("Row", {}, "C ell", "Data", {}, texts));
    EXPECT_FALSE(doc.AppendChildHoldingEach("Row", {}, "Cell", "", {}, texts));
    EXPECT_FALSE(doc.AppendChildHoldingEach("R>", {}, "Cell", "Data", {}, texts));
    EXPECT_EQ(doc.Text(), "<t/>");
    EXPECT_EQ(doc.Index().Count(), 2U);
}

// Many elements added two records at a time cross the first block's growth steps and the start
// of later blocks of the index.
TEST(XmlEdit, ElementsHoldingChildrenFillTheIndexAcrossBlocks)
{
    CXmlDocument inTurn;
    CXmlDocument held;
    for (CXmlDocument* doc : {&inTurn, &held}) {
        ASSERT_TRUE(doc->SetText("<Table/>"));
        ASSERT_TRUE(doc->SeekElement("Table"));
    }
    constexpr int kRows = 340;
    constexpr int kCells = 100;
    for (int row = 0; row < kRows; ++row) {
        for (CXmlDocument* doc : {&inTurn, &held}) {
            ASSERT_TRUE(doc->AppendChild("Row"));
            ASSERT_TRUE(doc->EnterChild());
        }
        for (int cell = 0; cell < kCells; ++cell) {
            const std::string text = std::to_string(row * kCells + cell);
            ASSERT_NO_FATAL_FAILURE(AppendCellInTurn(inTurn, text));
            ASSERT_TRUE(held.AppendChildHolding("Cell", "Data", text, {{"ss:Type", "String"}}));
        }
        for (CXmlDocument* doc : {&inTurn, &held}) {
            ASSERT_TRUE(doc->LeaveElement());
        }
    }
    ASSERT_GT(held.Index().Count(), XmlNodeIndex::kBlockSize);
    EXPECT_EQ(held.Index().Count(), inTurn.Index().Count());
    EXPECT_EQ(held.Text(), inTurn.Text());
    ExpectIndexMatchesReparse(held);
}

// Random edits anywhere in a document keep the index exactly as a fresh parse would build it.
TEST(XmlEdit, RandomEditsKeepTheIndexConsistent)
{
    std::mt19937 rng(12345);
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<root a=\"1\"><x/><y>t</y></root>"));
    for (int step = 0; step < 400; ++step) {
        // Pick a random element as current and maybe a random child.
        const std::uint32_t count = doc.Index().Count();
        const std::uint32_t current = 1 + static_cast<std::uint32_t>(rng() % (count - 1));
        std::uint32_t child = 0;
        if (rng() % 2 == 0) {
            child = doc.Index()[current].firstChild;
            for (unsigned skip = rng() % 3; skip > 0 && child != 0 && doc.Index().Next(child) != 0; --skip) {
                child = doc.Index().Next(child);
            }
        }
        doc.SetPosition(XmlPosition{doc.Index().Parent(current), current, child});
        switch (rng() % 4) {
        case 0:
            ASSERT_TRUE(doc.AppendChild(std::string("e").append(std::to_string(step % 7))));
            break;
        case 1:
            ASSERT_TRUE(doc.AppendChild("t", std::string(rng() % 5, 'z')));
            break;
        case 2:
            ASSERT_TRUE(doc.SetAttr(std::string("k").append(std::to_string(rng() % 3)), std::string(rng() % 4, 'v')));
            break;
        default:
            if (child != 0) {
                ASSERT_TRUE(doc.SetChildAttr("k", std::to_string(rng())));
            }
        }
        if (step % 50 == 0) {
            ExpectIndexMatchesReparse(doc);
        }
    }
    ExpectIndexMatchesReparse(doc);
    EXPECT_TRUE(CXmlDocument().SetText(doc.Text()));
}

} // namespace

} // namespace core
