#include "excel/xml/CXmlDocument.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace core {

namespace {

struct ParseCase
{
    const char* name;
    std::string text;
    bool wellFormed;
    std::vector<std::string> logged; // fragments the result log must hold
};

// Cases show by name in test output.
void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << c.name;
}

class ParseTable : public testing::TestWithParam<ParseCase>
{ };

TEST_P(ParseTable, WellFormednessAndLog)
{
    const ParseCase& c = GetParam();
    CXmlDocument doc;
    EXPECT_EQ(doc.SetText(c.text), c.wellFormed) << doc.ResultLog();
    EXPECT_EQ(doc.IsWellFormed(), c.wellFormed);
    for (const std::string& fragment : c.logged) {
        EXPECT_NE(doc.ResultLog().find(fragment), std::string::npos) << fragment << " not in " << doc.ResultLog();
    }
    if (c.logged.empty()) {
        EXPECT_EQ(doc.ResultLog(), "");
    }
}

const ParseCase kParseCases[] = {
    {"Simple", "<a><b x='1'/>text</a>", true, {}},
    {"DeclarationCommentPiDoctype",
     "<?xml version=\"1.0\"?><!-- c --><!DOCTYPE a [<!ENTITY e \">\">]><?pi x?><a><![CDATA[<>]]></a>",
     true,
     {}},
    {"QuotedGreaterThan", "<a b=\"x>y\" c='>'/>", true, {}},
    {"UnendedInner", "<a><b></a>", false, {R"(<unended_start_tag tagname="b" offset="3" offset2="6"/>)"}},
    {"LoneEndTag", "<a></b></a>", false, {R"(<lone_end_tag tagname="b" offset="3"/>)"}},
    {"UnendedAtEnd", "<a><b>", false, {R"(tagname="b")", R"(tagname="a")"}},
    {"RootSibling", "<a/><b/>", false, {"<root_has_sibling/>"}},
    {"WhiteSpaceOnly", " \r\n\t ", false, {"<no_root_element/>"}},
    {"EmptyText", "", false, {"<no_root_element/>"}},
    {"FirstTagSyntax", "<a>1 < 2</a>", false, {R"(<first_tag_syntax offset="5"/>)"}},
    {"ExclamationSyntax", "<a><!x></a>", false, {"<exclamation_tag_syntax"}},
    {"CommentSyntax", "<a><!-x--></a>", false, {"<comment_tag_syntax"}},
    {"CDataSyntax", "<a><![CDAT[x]]></a>", false, {"<cdata_section_syntax"}},
    {"DoctypeSyntax", "<!DOCTYP a><a/>", false, {"<doctype_tag_syntax"}},
    {"UnterminatedStart", "<a><b x='1", false, {R"(<unterminated_tag_syntax type="start_tag" offset="3"/>)"}},
    {"UnterminatedQuote", "<a><b x='>'", false, {R"(type="start_tag")"}},
    {"UnterminatedEnd", "<a></a", false, {R"(type="end_tag")"}},
    {"UnterminatedCData", "<a><![CDATA[x]]", false, {R"(type="cdata_section")"}},
    {"UnterminatedCDataOpen", "<a><![CD", false, {R"(type="cdata_section")"}},
    {"UnterminatedPi", "<a/><?pi", false, {R"(type="processing_instruction")"}},
    {"UnterminatedComment", "<a/><!-- x -", false, {R"(type="comment")"}},
    {"UnterminatedDoctype", "<!DOCTYPE a [ <!ENTITY x '>'> ", false, {R"(type="document_type")"}},
    {"UnterminatedTag", "<a/><", false, {R"(type="tag")"}},
    {"UnterminatedExclamation", "<a/><!", false, {R"(type="tag")"}},
    // End tags read in one step when they repeat the open element's name, else by name.
    {"EndTagWithBlank", "<a><b></b ></a\n>", true, {}},
    {"EndTagNamesAPrefixOfTheOpenName", "<a><bc></b></bc></a>", false, {R"(<lone_end_tag tagname="b" offset="7"/>)"}},
    {"EndTagNameGoesOn", "<a><b></bc></b></a>", false, {R"(<lone_end_tag tagname="bc" offset="6"/>)"}},
    {"PrefixedNames", "<ss:a><ss:b x='1'></ss:b></ss:a>", true, {}},
    {"BlanksAfterStartNames", "<a\n><b\tx='1'></b></a>", true, {}},
    {"QuotesOfBothKinds", "<a b='\"' c=\">'\" d='>>'></a>", true, {}},
    // A log entry names at most 128 bytes of a tag (cut before a character it would split).
    {"LongLoneEndTagName",
     "<a></" + std::string(300, 'n') + "></a>",
     false,
     {R"(<lone_end_tag tagname=")" + std::string(128, 'n') + R"(..." offset="3"/>)"}},
    {"LongNameCutBeforeACharacter",
     "<a></" + std::string(127, 'n') + "\xc3\xa9" + std::string(100, 'n') + "></a>",
     false,
     {R"(<lone_end_tag tagname=")" + std::string(127, 'n') + R"(..." offset="3"/>)"}},
    {"LongTagAcrossWords", "<abcdefghijklmnop q='>' r=\"'''''''''>\"></abcdefghijklmnop>", true, {}},
};

INSTANTIATE_TEST_SUITE_P(Xml,
                         ParseTable,
                         testing::ValuesIn(kParseCases),
                         [](const testing::TestParamInfo<ParseCase>& param) { return param.param.name; });

TEST(XmlParse, ForcedCloseKeepsTheTreeNavigable)
{
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText("<a><b><c/></a><x/>"));
    ASSERT_TRUE(doc.SeekElement("a"));
    ASSERT_TRUE(doc.SeekChildElement("b"));
    ASSERT_TRUE(doc.EnterChild());
    EXPECT_TRUE(doc.SeekChildElement("c"));
    const XmlNode& b = doc.Index()[doc.Position().current];
    EXPECT_EQ(b.start, 3u);
    EXPECT_EQ(b.length, 7u); // closed where "</a>" stands
    EXPECT_EQ(doc.Index()[doc.Position().parent].childIllFormed, 1U);
    EXPECT_TRUE(doc.Index().IllFormed());
}

// The index keeps no tag lengths: they are read back from the text, and must be what the reader
// took as the start and end tag, odd markup included.
TEST(XmlParse, TagLengthsAreReadBackAsTheReaderCutTheTags)
{
    const std::string longName(100, 'n');
    const struct
    {
        std::string text;
        XmlTagLengths root;
    } cases[] = {
        {"<a></a>", {1, 3, 4}},
        {"<a/>", {1, 4, 0}},
        {"<a x='>' y=\"/>\">t</a >", {1, 16, 5}},
        {"<a><!-- </a --> x > y <![CDATA[</a>]]></a>", {1, 3, 4}},
        {"<a>< </a>", {1, 3, 4}}, // a stray "<" before the end tag
        {"<a<b>x</a<b>", {3, 5, 6}}, // "<" inside the name and so inside the end tag
        {"<a><b/>\r\n</a\r\n>", {1, 3, 6}},
        {"<" + longName + " k=\"" + std::string(80, 'v') + "\">" + std::string(300, 't') + "</" + longName + ">",
         {100, 187, 103}},
        {"<a>text", {1, 3, 0}}, // closed by force at the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CXmlDocument doc;
        (void)doc.SetText(c.text);
        const std::uint32_t root = doc.Index()[0].firstChild;
        ASSERT_NE(root, 0u);
        const XmlTagLengths got = doc.TagLengths(root);
        EXPECT_EQ(got.name, c.root.name);
        EXPECT_EQ(got.startTag, c.root.startTag);
        EXPECT_EQ(got.endTag, c.root.endTag);
    }
    // An element closed by force where an outer end tag stands has no end tag of its own.
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText("<a><b>x</a>"));
    ASSERT_TRUE(doc.SeekElement("a"));
    ASSERT_TRUE(doc.SeekChildElement("b"));
    EXPECT_EQ(doc.TagLengths(doc.Position().child).endTag, 0u);
    EXPECT_EQ(doc.TagLengths(doc.Position().current).endTag, 4u);
}

TEST(XmlParse, MillionDeepNestingLoadsWithoutRecursion)
{
    constexpr int kDepth = 1000000;
    std::string text;
    text.reserve(kDepth * 7);
    for (int i = 0; i < kDepth; ++i) {
        text += "<a>";
    }
    for (int i = 0; i < kDepth; ++i) {
        text += "</a>";
    }
    CXmlDocument doc;
    EXPECT_TRUE(doc.SetText(text));
    EXPECT_EQ(doc.Index().Count(), static_cast<std::uint32_t>(kDepth + 1));
    // Unclosed, and with a lone end tag at the bottom, still ends cleanly (and in linear time).
    text.resize(kDepth / 10 * 3);
    text += "</b>";
    EXPECT_FALSE(doc.SetText(text));
    EXPECT_NE(doc.ResultLog().find("lone_end_tag"), std::string::npos);
}

TEST(XmlParse, ManyLoneEndTagsInsideDeepNestingStayLinear)
{
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        text += "<a>";
    }
    for (int i = 0; i < 200000; ++i) {
        text += "</b>";
    }
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(text));
    EXPECT_LE(doc.ResultLog().size(), XmlResultLog::kLimit + 200); // the log stops growing
}

TEST(XmlParse, DoubleByteTrailBytesAreNotMarkup)
{
    // In GBK, 0xB0 0x5D is one character whose trail byte is "]": it must not end the CDATA section.
    XmlInternalCodec gbk(936, "GBK");
    ASSERT_TRUE(gbk.IsMultiByte());
    EXPECT_EQ(gbk.CharLength("\xB0\x5D", 2), 2u);
    EXPECT_EQ(gbk.CharLength("\xB0", 1), 1u); // never past the end
    EXPECT_EQ(gbk.CharLength("A", 1), 1u);
}

} // namespace

} // namespace core
