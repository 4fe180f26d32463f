#include "common/CodePage.h"
#include "excel/CExcelBook.h"
#include "excel/xml/CXmlDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using testsupport::ReadFileText;
using testsupport::TempDir;

namespace core {

namespace {

// Greek element and attribute names, Greek and Chinese texts: none of them has a form in ISO-8859-1.
const std::string kGreekBook = "<?xml version=\"1.0\"?>\r\n"
                               "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\">\r\n"
                               " <\xCE\xA3\xCE\xB7\xCE\xBC\xCE\xB5\xCE\xAF\xCE\xB1 "
                               "\xCE\xB1=\"\xE4\xB8\xAD\xE6\x96\x87\">\xCE\xB1\xCE\xB2\xCE\xB3 &amp; "
                               "\xE4\xB8\xAD</\xCE\xA3\xCE\xB7\xCE\xBC\xCE\xB5\xCE\xAF\xCE\xB1>\r\n"
                               " <Worksheet ss:Name=\"S\" xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">"
                               "<Table><Row><Cell><Data ss:Type=\"String\">\xE4\xB8\xAD\xE6\x96\x87 "
                               "\xCE\xBB</Data></Cell></Row></Table></Worksheet>\r\n"
                               "</Workbook>";

TEST(XmlValueBoundary, ForeignNamesAndTextsSurviveALoadAndSaveUnderLatin1)
{
    const ScopedCodePage latin1("28591");
    ASSERT_TRUE(latin1.Installed());
    TempDir dir;
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(dir.Write("in.xml", kGreekBook))) << doc.ResultLog();
    ASSERT_TRUE(doc.SaveFile(dir.File("out.xml"))) << doc.ResultLog();
    EXPECT_EQ(ReadFileText(dir.File("out.xml")), kGreekBook);

    // An edit elsewhere leaves them as they were, and the result reads back well-formed.
    ASSERT_TRUE(doc.SeekElement("Workbook"));
    ASSERT_TRUE(doc.SetAttr("x", "\xE9"));
    ASSERT_TRUE(doc.SaveFile(dir.File("edited.xml")));
    CXmlDocument again;
    ASSERT_TRUE(again.LoadFile(dir.File("edited.xml"))) << again.ResultLog();
    EXPECT_EQ(again.Utf8Text(),
              std::string(kGreekBook).insert(kGreekBook.find("spreadsheet\"") + 12, " x=\"\xC3\xA9\""));
}

TEST(XmlValueBoundary, WorkbookWithForeignTextsKeepsThemWhenACellIsWritten)
{
    const ScopedCodePage latin1("28591");
    ASSERT_TRUE(latin1.Installed());
    TempDir dir;
    const std::string path = dir.Write("book.xls", kGreekBook);
    CExcelBook book;
    ASSERT_TRUE(book.Open(path));
    ASSERT_TRUE(book.OpenSheet("S"));
    std::string cell;
    ASSERT_TRUE(book.ReadCell(1, 0, cell));
    EXPECT_EQ(cell, "?? ?"); // what the internal code page can hold
    ASSERT_TRUE(book.WriteCell(2, 0, "caf\xE9"));
    ASSERT_TRUE(book.Save());
    const std::string saved = ReadFileText(path);
    EXPECT_NE(saved.find("\xE4\xB8\xAD\xE6\x96\x87 \xCE\xBB</Data>"), std::string::npos) << saved;
    EXPECT_NE(saved.find("caf\xC3\xA9</Data>"), std::string::npos) << saved;
    EXPECT_NE(saved.find("<\xCE\xA3\xCE\xB7\xCE\xBC\xCE\xB5\xCE\xAF\xCE\xB1 \xCE\xB1=\"\xE4\xB8\xAD\xE6\x96\x87\">"),
              std::string::npos);
    CXmlDocument reread;
    EXPECT_TRUE(reread.LoadFile(path)) << reread.ResultLog();
}

struct BoundaryCase
{
    const char* name;
    const char* codePage;
    std::string content; // of the Greek element, in that code page
    std::string elementName;
    bool lossLogged;
    bool nameFinds; // the name as read finds the element again
};

void PrintTo(const BoundaryCase& c, std::ostream* os)
{
    *os << c.name;
}

class BoundaryTable : public testing::TestWithParam<BoundaryCase>
{ };

TEST_P(BoundaryTable, ValuesAreConvertedOneByOne)
{
    const BoundaryCase& c = GetParam();
    const ScopedCodePage codePage(c.codePage);
    ASSERT_TRUE(codePage.Installed());
    TempDir dir;
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadFile(dir.Write("in.xml", kGreekBook))) << doc.ResultLog();
    EXPECT_EQ(doc.ResultLog().find("<conversion_loss/>"), std::string::npos) << "nothing lost at load";
    ASSERT_TRUE(doc.SeekElement("Workbook"));
    ASSERT_TRUE(doc.SeekChildElement());
    ASSERT_TRUE(doc.EnterChild());
    EXPECT_EQ(doc.CurrentName(), c.elementName);
    EXPECT_EQ(doc.GetContent(), c.content);
    EXPECT_EQ(doc.ResultLog().find("<conversion_loss/>") != std::string::npos, c.lossLogged) << doc.ResultLog();
    // A name given in the code page finds the element when the code page can hold it.
    doc.Rewind();
    ASSERT_TRUE(doc.SeekElement("Workbook"));
    EXPECT_EQ(doc.SeekChildElement(c.elementName), c.nameFinds);
}

const BoundaryCase kBoundaryCases[] = {
    {"Latin1", "28591", "??? & ?", "??????", true, false},
    {"Greek", "1253", "\xE1\xE2\xE3 & ?", "\xD3\xE7\xEC\xE5\xDF\xE1", true, true},
    {"Gbk", "936", "\xA6\xC1\xA6\xC2\xA6\xC3 & \xD6\xD0", "\xA6\xB2\xA6\xC7\xA6\xCC\xA6\xC5?\xA6\xC1", true, false},
    {"Utf8",
     "65001",
     "\xCE\xB1\xCE\xB2\xCE\xB3 & \xE4\xB8\xAD",
     "\xCE\xA3\xCE\xB7\xCE\xBC\xCE\xB5\xCE\xAF\xCE\xB1",
     false,
     true},
};

INSTANTIATE_TEST_SUITE_P(Xml,
                         BoundaryTable,
                         testing::ValuesIn(kBoundaryCases),
                         [](const testing::TestParamInfo<BoundaryCase>& param) { return param.param.name; });

} // namespace

} // namespace core
