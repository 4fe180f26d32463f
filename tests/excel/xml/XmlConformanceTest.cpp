#include "common/CodePage.h"
#include "excel/xml/CXmlDocument.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace core {

namespace {

// What a conforming reader gives for the root element: its text content, or the value of its
// attribute "v" when attr is set.
struct ConformanceCase
{
    const char* name;
    std::string text;
    bool attr;
    std::string expected;
};

void PrintTo(const ConformanceCase& c, std::ostream* os)
{
    *os << c.name;
}

class ConformanceTable : public testing::TestWithParam<ConformanceCase>
{ };

TEST_P(ConformanceTable, ReadsAsAConformingParserDoes)
{
    const ScopedCodePage latin1("28591");
    ASSERT_TRUE(latin1.Installed());
    const ConformanceCase& c = GetParam();
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText(c.text)) << doc.ResultLog();
    ASSERT_TRUE(doc.SeekElement());
    EXPECT_EQ(c.attr ? doc.GetAttr("v") : doc.GetContent(), c.expected);
    if (c.attr) {
        ASSERT_EQ(doc.GetAttrs().size(), 1u);
        EXPECT_EQ(doc.GetAttrs()[0].second, c.expected);
    }
}

const ConformanceCase kConformanceCases[] = {
    {"CrLfInContent", "<a>x\r\ny</a>", false, "x\ny"},
    {"LoneCrInContent", "<a>x\ry</a>", false, "x\ny"},
    {"CrCrLfInContent", "<a>x\r\r\ny</a>", false, "x\n\ny"},
    {"CrAtTheEndOfContent", "<a>x\r</a>", false, "x\n"},
    {"CrReferenceStaysCr", "<a>x&#13;\r\ny</a>", false, "x\r\ny"},
    {"CrLfInCData", "<a><![CDATA[x\r\ny\r]]></a>", false, "x\ny\n"},
    {"CrLfAroundAChild", "<a>x\r\n<b/>\ry</a>", false, "x\n\ny"},
    {"TabCrLfInAttributeAreBlanks", "<a v=\"x\ty\r\nz\n\"/>", true, "x y z "},
    {"LoneCrInAttribute", "<a v='x\ry'/>", true, "x y"},
    {"ReferencesInAttributeKeepTheirCharacters", "<a v=\"x&#9;y&#10;z&#13;\"/>", true, "x\ty\nz\r"},
    {"GreaterThanInAChildsAttribute", "<a>p<b v=\"1>2\">q</b>r<c w='>'/>s</a>", false, "pqrs"},
    {"QuoteInACommentOfTheInternalSubset", "<!DOCTYPE a [<!-- it's \" here --><!ELEMENT a ANY>]><a>x</a>", false, "x"},
    {"QuoteInAProcessingInstructionOfTheInternalSubset",
     "<!DOCTYPE a [<?pi don't?><!ELEMENT a ANY>]><a>y</a>",
     false,
     "y"},
    {"BracketInACommentOfTheInternalSubset", "<!DOCTYPE a [<!-- ] > --><!ELEMENT a ANY>]><a>z</a>", false, "z"},
};

INSTANTIATE_TEST_SUITE_P(Xml,
                         ConformanceTable,
                         testing::ValuesIn(kConformanceCases),
                         [](const testing::TestParamInfo<ConformanceCase>& param) { return param.param.name; });

TEST(XmlConformance, TheTextItselfKeepsItsLineEnds)
{
    // Only reading normalises: the document is written back byte for byte.
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<a v=\"1\r\n2\">x\r\ny</a>"));
    EXPECT_EQ(doc.Text(), "<a v=\"1\r\n2\">x\r\ny</a>");
}

} // namespace

} // namespace core
