#include "common/CodePage.h"
#include "excel/xml/CXmlDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace core {

using namespace std::string_literals;

namespace {

std::string Bytes(const std::vector<std::uint8_t>& v)
{
    return std::string(v.begin(), v.end());
}

std::string Utf16Le(std::string_view ascii)
{
    std::string out;
    for (const char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

struct LoadCase
{
    const char* name;
    std::string bytes;
    std::string content; // of the root element, in ISO-8859-1
    XmlBom bom;
    std::vector<std::string> logged;
};

// Cases show by name in test output.
void PrintTo(const LoadCase& c, std::ostream* os)
{
    *os << c.name;
}

class LoadTable : public testing::TestWithParam<LoadCase>
{ };

TEST_P(LoadTable, DecodesIntoTheInternalCodePage)
{
    const ScopedCodePage latin1("28591");
    EXPECT_TRUE(latin1.Installed());
    const LoadCase& c = GetParam();
    TempDir dir;
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(dir.Write("in.xml", c.bytes))) << doc.ResultLog();
    EXPECT_EQ(doc.Bom(), c.bom);
    ASSERT_TRUE(doc.SeekElement());
    EXPECT_EQ(doc.GetContent(), c.content);
    for (const std::string& fragment : c.logged) {
        EXPECT_NE(doc.ResultLog().find(fragment), std::string::npos) << fragment << " not in " << doc.ResultLog();
    }
}

const LoadCase kLoadCases[] = {
    {"Utf8MarkBeatsDeclaration",
     "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"gbk\"?><a>\xC3\xA9</a>",
     "\xE9",
     XmlBom::Utf8,
     {"<bom/>", R"(<read encoding="UTF-8")", "<converted_to"}},
    {"NoMarkNoDeclarationIsUtf8", "<a>\xC3\xA9</a>", "\xE9", XmlBom::None, {R"(<read encoding="UTF-8")"}},
    {"DeclaredInternalTakenAsIs",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>",
     "\xE9",
     XmlBom::None,
     {R"(<read encoding="ISO-8859-1" length="51"/>)"}},
    {"DeclaredAliasOfInternal",
     "<?xml version='1.0' encoding='latin1'?><a>\xE9\0x</a>"s,
     "\xE9x",
     XmlBom::None,
     {R"(<nulls_removed count="1"/>)"}},
    {"DeclaredGbkConvertedWithLoss",
     "<?xml version=\"1.0\" encoding=\"GBK\"?><a>\xC4\xE3-\xA8\xA6</a>",
     "?-\xE9",
     XmlBom::None,
     {"<converted_to", "<conversion_loss/>"}},
    {"Utf16LittleEndianMark",
     "\xFF\xFE" + Utf16Le("<a>x</a>"),
     "x",
     XmlBom::Utf16Le,
     {"<bom/>", R"(<converted_to encoding="ISO-8859-1" length="8"/>)"}},
    {"Utf16BigEndianMark", "\xFE\xFF\0<\0a\0>\0\xE9\0<\0/\0a\0>"s, "\xE9", XmlBom::Utf16Be, {"<endian_swap/>"}},
    {"Utf16OddLengthTruncated", "\xFF\xFE" + Utf16Le("<a>x</a>") + "!", "x", XmlBom::Utf16Le, {"<truncation_error"}},
    {"Utf16WithoutMark", Utf16Le("<a>y</a>"), "y", XmlBom::None, {R"(<read encoding="UTF-16LE")"}},
    {"Utf32WithoutMark",
     "<\0\0\0a\0\0\0>\0\0\0\xE9\0\0\0\0\xD8\0\0<\0\0\0/\0\0\0a\0\0\0>\0\0\0"s,
     "\xE9?",
     XmlBom::None,
     {R"(<read encoding="UTF-32")", "<conversion_loss/>"}},
    {"DetectionFindsUtf8", " <a>\xC3\xA9</a>", "\xE9", XmlBom::None, {"<utf8_detection/>", "<converted_to"}},
    {"DetectionFallsBackToInternal", " <a>\xE9</a>", "\xE9", XmlBom::None, {"<utf8_detection/>"}},
    {"UnknownDeclarationIsDetected",
     "<?xml version=\"1.0\" encoding=\"x-klingon\"?><a>\xC3\xA9</a>",
     "\xE9",
     XmlBom::None,
     {"<utf8_detection/>"}},
    {"HtmlMetaCharset",
     "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\"/></head>"
     "<body>\xC4\xE3</body></html>",
     "?",
     XmlBom::None,
     {R"(<read encoding="gbk")", "<conversion_loss/>"}},
    {"TruncatedUtf8AtTheEnd", "<a>\xC3\xA9</a>\xC3", "\xE9", XmlBom::None, {"<conversion_loss/>"}},
};

INSTANTIATE_TEST_SUITE_P(Xml,
                         LoadTable,
                         testing::ValuesIn(kLoadCases),
                         [](const testing::TestParamInfo<LoadCase>& param) { return param.param.name; });

TEST(XmlEncoding, TruncatedUtf8AtTheEndStillLoads)
{
    // Covered by the table for the content; the root must still be found and the file well-formed.
    const ScopedCodePage latin1("28591");
    EXPECT_TRUE(latin1.Installed());
    TempDir dir;
    CXmlDocument doc;
    EXPECT_TRUE(doc.LoadFile(dir.Write("t.xml", "<a>\xE4\xBD</a>")));
}

struct SaveCase
{
    const char* name;
    std::string loaded;
    std::string saved;
    std::vector<std::string> logged;
};

// Cases show by name in test output.
void PrintTo(const SaveCase& c, std::ostream* os)
{
    *os << c.name;
}

class SaveTable : public testing::TestWithParam<SaveCase>
{ };

TEST_P(SaveTable, WritesTheDeclaredEncodingAndTheSameMark)
{
    const ScopedCodePage latin1("28591");
    EXPECT_TRUE(latin1.Installed());
    const SaveCase& c = GetParam();
    TempDir dir;
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(dir.Write("in.xml", c.loaded))) << doc.ResultLog();
    ASSERT_TRUE(doc.SaveFile(dir.File("out.xml"))) << doc.ResultLog();
    EXPECT_EQ(Bytes(ReadFileBytes(dir.File("out.xml"))), c.saved);
    for (const std::string& fragment : c.logged) {
        EXPECT_NE(doc.ResultLog().find(fragment), std::string::npos) << fragment << " not in " << doc.ResultLog();
    }
}

const SaveCase kSaveCases[] = {
    {"Utf8MarkKept", "\xEF\xBB\xBF<a>\xC3\xA9</a>", "\xEF\xBB\xBF<a>\xC3\xA9</a>", {"<converted_from"}},
    {"Utf8MarkWinsOverDeclaration",
     "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"gbk\"?><a>\xC3\xA9</a>",
     "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"gbk\"?><a>\xC3\xA9</a>",
     {}},
    {"NoDeclarationWritesUtf8", "<a>\xC3\xA9</a>", "<a>\xC3\xA9</a>", {R"(<converted_from encoding="UTF-8")"}},
    {"DeclaredInternalUnchanged",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>",
     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>",
     {}},
    {"DeclaredGbk",
     "<?xml version=\"1.0\" encoding=\"gbk\"?><a>\xA8\xA6</a>",
     "<?xml version=\"1.0\" encoding=\"gbk\"?><a>\xA8\xA6</a>",
     {"<converted_from"}},
    {"Utf16MarkKept", "\xFF\xFE" + Utf16Le("<a>x</a>"), "\xFF\xFE" + Utf16Le("<a>x</a>"), {}},
    {"Utf16BigEndianMarkKept", "\xFE\xFF\0<\0a\0/\0>"s, "\xFE\xFF\0<\0a\0/\0>"s, {}},
    {"AsciiDeclarationLosesWhatItCannotHold",
     "<?xml version=\"1.0\" encoding=\"us-ascii\"?><a>&#233;x</a>",
     "<?xml version=\"1.0\" encoding=\"us-ascii\"?><a>&#233;x</a>",
     {}},
};

INSTANTIATE_TEST_SUITE_P(Xml,
                         SaveTable,
                         testing::ValuesIn(kSaveCases),
                         [](const testing::TestParamInfo<SaveCase>& param) { return param.param.name; });

TEST(XmlEncoding, LossOnWritingIsLogged)
{
    const ScopedCodePage latin1("28591");
    EXPECT_TRUE(latin1.Installed());
    TempDir dir;
    CXmlDocument doc;
    ASSERT_TRUE(doc.SetText("<?xml version=\"1.0\" encoding=\"us-ascii\"?><a>\xE9</a>"));
    ASSERT_TRUE(doc.SaveFile(dir.File("out.xml")));
    EXPECT_EQ(Bytes(ReadFileBytes(dir.File("out.xml"))), "<?xml version=\"1.0\" encoding=\"us-ascii\"?><a>?</a>");
    EXPECT_NE(doc.ResultLog().find("<conversion_loss/>"), std::string::npos) << doc.ResultLog();
}

TEST(XmlEncoding, FileErrors)
{
    TempDir dir;
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadFile(dir.File("missing.xml")));
    EXPECT_NE(doc.ResultLog().find(R"(n="2"/>)"), std::string::npos) << doc.ResultLog();
    EXPECT_NE(doc.ResultLog().find("<file_error msg=\"No such file or directory\""), std::string::npos);
    EXPECT_FALSE(doc.LoadFile(dir.Path()));
    EXPECT_NE(doc.ResultLog().find("<file_error"), std::string::npos);
    ASSERT_TRUE(doc.SetText("<a/>"));
    EXPECT_FALSE(doc.SaveFile(dir.File("no/such/folder/out.xml")));
    EXPECT_NE(doc.ResultLog().find("<file_error"), std::string::npos);
    // A file that is not well-formed loads as far as it parses, and says false.
    EXPECT_FALSE(doc.LoadFile(dir.Write("bad.xml", "<a><b></a>")));
    EXPECT_TRUE(doc.SeekElement("a"));
}

TEST(XmlEncoding, DoubleByteInternalCodePage)
{
    const ScopedCodePage gbk("936");
    EXPECT_TRUE(gbk.Installed());
    TempDir dir;
    CXmlDocument doc;
    // UTF-8 file: converted into GBK; the trail byte 0x5D of 0xB0 0x5D must not close the CDATA section.
    ASSERT_TRUE(doc.LoadFile(dir.Write("in.xml", "<a n=\"\xE4\xBD\xA0\">\xE5\xA5\xBD</a>")));
    ASSERT_TRUE(doc.SeekElement("a"));
    EXPECT_EQ(doc.GetAttr("n"), "\xC4\xE3");
    EXPECT_EQ(doc.GetContent(), "\xBA\xC3");
    ASSERT_TRUE(doc.SetText("<a><![CDATA[\xB0]]>x]]></a>"));
    ASSERT_TRUE(doc.SeekElement("a"));
    EXPECT_EQ(doc.GetContent(), "\xB0]]>x");
    // Written back as UTF-8 (no declaration).
    ASSERT_TRUE(doc.SetText("<a>\xC4\xE3</a>"));
    ASSERT_TRUE(doc.SaveFile(dir.File("out.xml")));
    EXPECT_EQ(Bytes(ReadFileBytes(dir.File("out.xml"))), "<a>\xE4\xBD\xA0</a>");
}

TEST(XmlEncoding, ResultLogStopsPastItsLimit)
{
    std::string text = "<r>";
    for (int i = 0; i < 500; ++i) {
        text += "</x>";
    }
    text += "</r>";
    CXmlDocument doc;
    EXPECT_FALSE(doc.SetText(text));
    EXPECT_GT(doc.ResultLog().size(), XmlResultLog::kLimit);
    EXPECT_LT(doc.ResultLog().size(), XmlResultLog::kLimit + 100);
    // The log is itself a sequence of well-formed entries.
    CXmlDocument log;
    EXPECT_TRUE(log.SetText("<log>" + doc.ResultLog() + "</log>"));
}

} // namespace

} // namespace core
