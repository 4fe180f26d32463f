#include "common/PendingError.h"
#include "excel/CExcelBook.h"
#include "excel/ExcelTemplate.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using testsupport::ReadFileText;
using testsupport::TempDir;

namespace core {

namespace {

class ExcelBook : public testing::Test
{
protected:
    ScopedPendingError m_pending; // each test starts with an empty slot and leaves it as it was

    // A workbook made by Create with the "Satellites" sheet open.
    void CreateOpen()
    {
        ASSERT_TRUE(book.Create(path));
        ASSERT_TRUE(book.OpenSheet("Satellites"));
    }
    std::string Saved()
    {
        EXPECT_TRUE(book.Save());
        return ReadFileText(book.Path());
    }

    TempDir dir;
    std::string path = dir.File("book.xls");
    CExcelBook book;
};

TEST_F(ExcelBook, CreateWritesTheTemplate)
{
    ASSERT_TRUE(book.Create(path));
    const std::string text = ReadFileText(path);
    EXPECT_EQ(text, ExcelWorkbookTemplate());
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 49);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 49);
    EXPECT_TRUE(text.starts_with("<?xml version=\"1.0\"?>\r\n<?mso-application progid=\"Excel.Sheet\"?>\r\n"));
    EXPECT_NE(text.find("ss:FontName=\"\xE5\xAE\x8B\xE4\xBD\x93\" x:CharSet=\"134\""), std::string::npos);
    EXPECT_NE(text.find("<Style ss:ID=\"s21\" ss:Name=\"\xE8\xB6\x85\xE9\x93\xBE\xE6\x8E\xA5\">"), std::string::npos);
    EXPECT_TRUE(book.IsOpen());
    EXPECT_EQ(book.Path(), path);
    EXPECT_TRUE(book.OpenSheet("Satellites"));
    std::string out = "stale";
    EXPECT_FALSE(book.ReadCell(1, 0, out)); // counts are 0
    EXPECT_EQ(out, "");
    EXPECT_FALSE(PendingError().pending);
}

TEST_F(ExcelBook, WriteCellMakesRowsAndCellsAndCounts)
{
    CreateOpen();
    ASSERT_TRUE(book.WriteCell(2, 3, "x"));
    const std::string text = Saved();
    EXPECT_NE(text.find("<Table ss:ExpandedColumnCount=\"4\" ss:ExpandedRowCount=\"2\" x:FullColumns=\"1\"\r\n"
                        "   x:FullRows=\"1\" ss:DefaultColumnWidth=\"54\" ss:DefaultRowHeight=\"14.25\">\r\n"
                        "<Row ss:AutoFitHeight=\"0\"/>\r\n"
                        "<Row ss:AutoFitHeight=\"0\">\r\n<Cell/>\r\n<Cell/>\r\n<Cell/>\r\n<Cell>\r\n"
                        "<Data ss:Type=\"String\">x</Data>\r\n</Cell>\r\n</Row>\r\n</Table>\r\n"
                        "  <WorksheetOptions"),
              std::string::npos)
        << text;
    std::string out;
    EXPECT_TRUE(book.ReadCell(2, 3, out));
    EXPECT_EQ(out, "x");
    for (const int column : {0, 1, 2}) {
        EXPECT_FALSE(book.ReadCell(2, column, out)) << column;
    }
    EXPECT_FALSE(book.ReadCell(1, 0, out));
    EXPECT_FALSE(book.ReadCell(3, 0, out));
    EXPECT_FALSE(book.ReadCell(2, 4, out));
    EXPECT_TRUE(book.ReadCell(2, 3, out)); // a failed read leaves the sheet usable
    EXPECT_EQ(out, "x");
}

TEST_F(ExcelBook, CellsRoundTripThroughAFile)
{
    CreateOpen();
    const std::string texts[] = {"select", "A & <B>", "\"quoted\" it's", "", "x]]>y", "  spaced  "};
    for (int row = 1; row <= 30; ++row) {
        for (int column = 0; column < 6; ++column) {
            ASSERT_TRUE(book.WriteCell(row, column, texts[(row + column) % 6]));
        }
    }
    ASSERT_TRUE(book.LinkCell(2, 1, "#Sat_1!A1"));
    ASSERT_TRUE(book.Save());
    book.Close();
    EXPECT_FALSE(book.IsOpen());

    CExcelBook again;
    ASSERT_TRUE(again.Open(path));
    ASSERT_TRUE(again.OpenSheet("Satellites"));
    for (int row = 1; row <= 30; ++row) {
        for (int column = 0; column < 6; ++column) {
            std::string out;
            const std::string& want = texts[(row + column) % 6];
            EXPECT_EQ(again.ReadCell(row, column, out), !want.empty());
            EXPECT_EQ(out, want) << row << "," << column;
        }
    }
    const std::string text = ReadFileText(path);
    EXPECT_NE(text.find("<Cell ss:HRef=\"#Sat_1!A1\" ss:StyleID=\"s21\">"), std::string::npos);
}

TEST_F(ExcelBook, LinkCellKeepsTheText)
{
    CreateOpen();
    ASSERT_TRUE(book.WriteCell(2, 1, "Astra"));
    EXPECT_FALSE(book.LinkCell(2, 2, "#x!A1")); // beyond the column count
    EXPECT_FALSE(book.LinkCell(3, 1, "#x!A1")); // beyond the row count
    EXPECT_FALSE(book.LinkCell(1, 1, "#x!A1")); // row 1 has no cells
    EXPECT_FALSE(PendingError().pending);
    ASSERT_TRUE(book.LinkCell(2, 1, "#Astra!A1"));
    std::string out;
    EXPECT_TRUE(book.ReadCell(2, 1, out));
    EXPECT_EQ(out, "Astra");
    EXPECT_NE(Saved().find("<Cell ss:HRef=\"#Astra!A1\" ss:StyleID=\"s21\">\r\n<Data ss:Type=\"String\">Astra</Data>"),
              std::string::npos);
}

TEST_F(ExcelBook, CreateSheetAppendsAfterTheLastSheetOrFindsIt)
{
    CreateOpen();
    ASSERT_TRUE(book.CreateSheet("Sat_1"));
    ASSERT_TRUE(book.WriteCell(1, 0, "a"));
    ASSERT_TRUE(book.CreateSheet("Sat_2"));
    ASSERT_TRUE(book.CreateSheet("Sat_1")); // exists: found, not added
    std::string out;
    EXPECT_TRUE(book.ReadCell(1, 0, out));
    EXPECT_EQ(out, "a");
    const std::string text = Saved();
    EXPECT_NE(text.find(" </Worksheet>\r\n<Worksheet ss:Name=\"Sat_1\">\r\n<Table ss:ExpandedColumnCount=\"1\" "
                        "ss:ExpandedRowCount=\"1\">\r\n<Row ss:AutoFitHeight=\"0\">"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("</Worksheet>\r\n<Worksheet ss:Name=\"Sat_2\">\r\n<Table ss:ExpandedColumnCount=\"0\" "
                        "ss:ExpandedRowCount=\"0\"/>\r\n</Worksheet>\r\n</Workbook>"),
              std::string::npos)
        << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '<') - std::count(text.begin(), text.end(), '>'), 0);
}

struct FailureCase
{
    const char* name;
    std::string pending; // expected PendingError text, empty for none
    bool (*run)(CExcelBook& book, const TempDir& dir);
};

// Cases show by name in test output.
void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExcelBookFailures : public testing::TestWithParam<FailureCase>
{ };

TEST_P(ExcelBookFailures, FailAndLeaveTheirMessage)
{
    const ScopedPendingError pending;
    TempDir dir;
    CExcelBook book;
    EXPECT_FALSE(GetParam().run(book, dir));
    EXPECT_EQ(PendingError().pending != 0, !GetParam().pending.empty());
    EXPECT_EQ(PendingError().text, GetParam().pending);
}

bool CreateOpened(CExcelBook& book, const TempDir& dir)
{
    return book.Create(dir.File("b.xls")) && book.OpenSheet("Satellites");
}

const FailureCase kFailures[] = {
    {"CreateInMissingFolder",
     "Create File Failed!",
     [](CExcelBook& b, const TempDir& d) { return b.Create(d.File("no/such/b.xls")); }},
    {"OpenSheetNotOpen",
     "Open work sheet failed! Sheet=Satellites",
     [](CExcelBook& b, const TempDir&) { return b.OpenSheet("Satellites"); }},
    {"OpenSheetWrongCase",
     "Open work sheet failed! Sheet=satellites",
     [](CExcelBook& b, const TempDir& d) { return b.Create(d.File("b.xls")) && b.OpenSheet("satellites"); }},
    {"CreateSheetNotOpen",
     "Create work sheet failed! -- Sat_1",
     [](CExcelBook& b, const TempDir&) { return b.CreateSheet("Sat_1"); }},
    {"ReadWithoutSheet",
     "Error: Not yet opened the WorkSheet!",
     [](CExcelBook& b, const TempDir& d) {
         std::string out;
         return b.Create(d.File("b.xls")) && b.ReadCell(1, 0, out);
     }},
    {"WriteWithoutSheet",
     "Error: Not yet opened the WorkSheet!",
     [](CExcelBook& b, const TempDir& d) { return b.Create(d.File("b.xls")) && b.WriteCell(1, 0, "x"); }},
    {"WriteRowWithoutSheet",
     "Error: Not yet opened the WorkSheet!",
     [](CExcelBook& b, const TempDir& d) {
         const std::string_view texts[] = {"x", "y"};
         return b.Create(d.File("b.xls")) && b.WriteRow(1, texts);
     }},
    {"WriteRowPastAnIndexJump",
     "",
     [](CExcelBook& b, const TempDir& d) {
         const std::string_view texts[] = {"x", "y"};
         return b.Open(d.Write("j.xls",
                               "<Workbook><Worksheet ss:Name=\"S\"><Table><Row><Cell ss:Index=\"2\"/></Row></Table>"
                               "</Worksheet></Workbook>"))
             && b.OpenSheet("S") && b.WriteRow(1, texts); // the row exists: cell by cell, column 0 is passed
     }},
    {"LinkWithoutSheet",
     "Error: Not yet opened the WorkSheet!",
     [](CExcelBook& b, const TempDir&) { return b.LinkCell(1, 0, "#x!A1"); }},
    {"ReadBeyondColumns",
     "",
     [](CExcelBook& b, const TempDir& d) {
         std::string out;
         return CreateOpened(b, d) && b.WriteCell(1, 18, "h") && b.ReadCell(1, 19, out);
     }},
    {"ReadRowZeroAndNegativeColumn",
     "",
     [](CExcelBook& b, const TempDir& d) {
         std::string out;
         return CreateOpened(b, d) && b.WriteCell(1, 0, "h") && (b.ReadCell(0, 0, out) || b.ReadCell(1, -1, out));
     }},
    {"WriteRowZero", "", [](CExcelBook& b, const TempDir& d) { return CreateOpened(b, d) && b.WriteCell(0, 0, "h"); }},
    {"SaveWhenClosed", "", [](CExcelBook& b, const TempDir&) { return b.Save(); }},
    {"SaveIntoRemovedFolder",
     "",
     [](CExcelBook& b, const TempDir& d) {
         const std::string folder = d.File("sub");
         std::filesystem::create_directory(folder);
         const bool made = b.Create(folder + "/b.xls");
         std::filesystem::remove_all(folder);
         return made && b.Save();
     }},
};

INSTANTIATE_TEST_SUITE_P(Table,
                         ExcelBookFailures,
                         testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

TEST_F(ExcelBook, OpenFailuresNameTheFile)
{
    const std::string missing = dir.File("missing.xls");
    EXPECT_FALSE(book.Open(missing));
    EXPECT_EQ(PendingError().text, "Open Excel failed! File = " + missing);
    const std::string bad = dir.Write("bad.xls", "<Workbook><Worksheet></Workbook>");
    EXPECT_FALSE(book.Open(bad));
    EXPECT_EQ(PendingError().text, "Open Excel failed! File = " + bad);
    EXPECT_FALSE(book.IsOpen());
    // A failed open also drops the workbook that was open before.
    ASSERT_TRUE(book.Create(path));
    EXPECT_FALSE(book.Open(bad));
    EXPECT_FALSE(book.IsOpen());
}

// A sheet as a spreadsheet program saves it: skipped cells marked with ss:Index, numbers typed
// "Number", a left-out empty row marked with ss:Index on the next Row.
constexpr const char* kProgramSaved = R"(<?xml version="1.0"?>
<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet" xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet">
 <Worksheet ss:Name="Satellites">
  <Table ss:ExpandedColumnCount="19" ss:ExpandedRowCount="9">
   <Row><Cell><Data ss:Type="String">head</Data></Cell></Row>
   <Row>
    <Cell ss:Index="2"><Data ss:Type="String">b</Data></Cell>
    <Cell ss:Index="5"><Data ss:Type="Number">11053</Data></Cell>
    <Cell><Data ss:Type="String">f &amp; g</Data></Cell>
   </Row>
   <Row ss:Index="5"><Cell><Data ss:Type="String">fifth?</Data></Cell></Row>
   <Row><Cell ss:Index="3"><Data ss:Type="String">c</Data></Cell><Cell ss:Index="1"><Data ss:Type="String">a</Data></Cell></Row>
  </Table>
 </Worksheet>
</Workbook>
)";

TEST_F(ExcelBook, ReadsCellsAsSpreadsheetProgramsSaveThem)
{
    ASSERT_TRUE(book.Open(dir.Write("saved.xls", kProgramSaved)));
    ASSERT_TRUE(book.OpenSheet("Satellites"));
    struct Case
    {
        int row, column;
        const char* text; // nullptr: reads as empty
    };
    const Case cases[] = {
        {1, 0, "head"},
        {2, 0, nullptr},
        {2, 1, "b"},
        {2, 2, nullptr},
        {2, 3, nullptr},
        {2, 4, "11053"},
        {2, 5, "f & g"},
        {2, 6, nullptr},
        {3, 0, "fifth?"}, // rows are counted as Row elements, ss:Index on a Row is not consulted
        {4, 2, "c"},
        {4, 0, "a"},
        {5, 0, nullptr},
        {9, 0, nullptr},
        {10, 0, nullptr},
        {2, 19, nullptr},
    };
    // In order, backwards and repeated: the cursor must never change a result.
    std::vector<Case> order(std::begin(cases), std::end(cases));
    for (int pass = 0; pass < 3; ++pass) {
        for (const Case& c : order) {
            std::string out;
            EXPECT_EQ(book.ReadCell(c.row, c.column, out), c.text != nullptr) << c.row << "," << c.column;
            EXPECT_EQ(out, c.text != nullptr ? c.text : "") << c.row << "," << c.column;
        }
        std::reverse(order.begin(), order.end());
    }
    EXPECT_FALSE(PendingError().pending);
}

// LibreOffice's "MS Excel 2003 XML" export: ss:Worksheet with the prefix bound to the spreadsheet
// namespace, and no expanded counts on the table.
constexpr const char* kPrefixedNoCounts = R"(<?xml version="1.0" encoding="UTF-8"?>
<?mso-application progid="Excel.Sheet"?>
<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet" xmlns:c="urn:schemas-microsoft-com:office:component:spreadsheet" xmlns:html="http://www.w3.org/TR/REC-html40" xmlns:o="urn:schemas-microsoft-com:office:office" xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet" xmlns:x2="http://schemas.microsoft.com/office/excel/2003/xml" xmlns:x="urn:schemas-microsoft-com:office:excel">
 <ss:Worksheet ss:Name="Other"/>
 <ss:Worksheet ss:Name="Satellites">
  <Table ss:StyleID="ta1">
   <Column ss:Span="1" ss:Width="64"/>
   <Row ss:Height="12.8"><Cell><Data ss:Type="String">select</Data></Cell><Cell ss:Index="3"><Data ss:Type="String">ProgSheet</Data></Cell></Row>
   <Row ss:Height="12.8"><Cell ss:Index="30"><Data ss:Type="Number">42</Data></Cell><Cell><ss:Data ss:Type="String" xmlns="http://www.w3.org/TR/REC-html40"><B>rich</B> text</ss:Data></Cell></Row>
  </Table>
 </ss:Worksheet>
 <o:Worksheet ss:Name="Foreign"/>
</Workbook>
)";

TEST_F(ExcelBook, PrefixedWorksheetsWithoutCountsAreRead)
{
    ASSERT_TRUE(book.Open(dir.Write("lo.xls", kPrefixedNoCounts)));
    EXPECT_FALSE(book.OpenSheet("Foreign")); // "o" is not the spreadsheet namespace
    ASSERT_TRUE(book.OpenSheet("Satellites"));
    std::string out;
    EXPECT_TRUE(book.ReadCell(1, 0, out));
    EXPECT_EQ(out, "select");
    EXPECT_FALSE(book.ReadCell(1, 1, out));
    EXPECT_TRUE(book.ReadCell(1, 2, out));
    EXPECT_EQ(out, "ProgSheet");
    EXPECT_TRUE(book.ReadCell(2, 29, out)); // no column count: no limit
    EXPECT_EQ(out, "42");
    EXPECT_TRUE(book.ReadCell(2, 30, out)); // formatted text: its characters without the markup
    EXPECT_EQ(out, "rich text");
    EXPECT_FALSE(book.ReadCell(3, 0, out)); // no row count: the Row elements present count
    // Writing keeps the counts absent and still places the cell.
    ASSERT_TRUE(book.WriteCell(3, 1, "new"));
    EXPECT_TRUE(book.ReadCell(3, 1, out));
    EXPECT_EQ(out, "new");
    ASSERT_TRUE(book.CreateSheet("Added"));
    const std::string text = Saved();
    EXPECT_EQ(text.find("ExpandedRowCount=\"3\""), std::string::npos);
    EXPECT_NE(text.find("</ss:Worksheet>\r\n<Worksheet ss:Name=\"Added\">"), std::string::npos) << text;
}

// WriteRow writes what WriteCell for each column in turn writes, whether it adds the row in one
// edit (a new row, after any rows it has to add first) or goes cell by cell (a row already there),
// and leaves the sheet ready for the next cells.
TEST(ExcelBookRows, WriteRowIsWriteCellForEachColumnInTurn)
{
    struct Case
    {
        const char* name;
        const char* start; // a workbook with the sheet "S"; nullptr: the template's "Satellites"
        std::vector<std::pair<int, std::vector<std::string>>> rows;
    };
    const std::string tableWithRows = "<Workbook><Worksheet ss:Name=\"S\"><Table ss:ExpandedColumnCount=\"3\" "
                                      "ss:ExpandedRowCount=\"2\"><Row><Cell><Data>a</Data></Cell></Row>\n<Row/>"
                                      "</Table></Worksheet></Workbook>";
    const Case cases[] = {
        {"template rows in order", nullptr, {{1, {"select", "SateName"}}, {2, {"A", "Astra", "x"}}, {3, {"T"}}}},
        {"escaped and empty texts", nullptr, {{1, {"A & <B>", "", "\"q\" it's", "x]]>y", "  "}}}},
        {"rows before it added first", nullptr, {{4, {"a", "b"}}, {7, {"c"}}}},
        {"row already there", nullptr, {{1, {"a", "b", "c"}}, {1, {"d", "e"}}, {2, {"f"}}}},
        {"earlier row", nullptr, {{3, {"a", "b"}}, {2, {"c", "d", "e"}}, {1, {"f"}}}},
        {"counts and rows of an opened file", tableWithRows.c_str(), {{2, {"b", "c", "d", "e"}}, {4, {"f"}}}},
        {"table without counts",
         "<Workbook><Worksheet ss:Name=\"S\"><Table/></Worksheet></Workbook>",
         {{1, {"a"}}, {2, {"b", "c"}}}},
        {"no table", "<Workbook><Worksheet ss:Name=\"S\"/></Workbook>", {{1, {"a"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedPendingError pending;
        TempDir dir;
        CExcelBook inTurn;
        CExcelBook byRow;
        for (CExcelBook* book : {&inTurn, &byRow}) {
            const std::string file = dir.File(book == &inTurn ? "cells.xls" : "rows.xls");
            if (c.start == nullptr) {
                ASSERT_TRUE(book->Create(file));
                ASSERT_TRUE(book->OpenSheet("Satellites"));
            } else {
                ASSERT_TRUE(book->Open(dir.Write(book == &inTurn ? "cells.xls" : "rows.xls", c.start)));
                ASSERT_TRUE(book->OpenSheet("S"));
            }
        }
        bool tableMissing = false;
        for (const auto& [row, texts] : c.rows) {
            bool cellsWritten = true;
            for (std::size_t column = 0; column < texts.size(); ++column) {
                cellsWritten = inTurn.WriteCell(row, static_cast<int>(column), texts[column]) && cellsWritten;
            }
            const std::vector<std::string_view> views(texts.begin(), texts.end());
            EXPECT_EQ(byRow.WriteRow(row, views), cellsWritten) << row;
            tableMissing = tableMissing || !cellsWritten;
        }
        EXPECT_EQ(tableMissing, c.start != nullptr && std::string(c.start).find("<Table") == std::string::npos);
        // The cursor left by either way serves the next cells alike.
        const int last = c.rows.back().first;
        for (CExcelBook* book : {&inTurn, &byRow}) {
            EXPECT_EQ(book->WriteCell(last, 6, "after"), !tableMissing);
            EXPECT_EQ(book->WriteCell(last + 1, 0, "next"), !tableMissing);
            std::string out;
            EXPECT_EQ(book->ReadCell(last, 6, out), !tableMissing);
        }
        for (const auto& [row, texts] : c.rows) {
            for (std::size_t column = 0; column < texts.size(); ++column) {
                std::string want;
                std::string got;
                EXPECT_EQ(byRow.ReadCell(row, static_cast<int>(column), got),
                          inTurn.ReadCell(row, static_cast<int>(column), want));
                EXPECT_EQ(got, want) << row << "," << column;
            }
        }
        ASSERT_TRUE(inTurn.Save());
        ASSERT_TRUE(byRow.Save());
        EXPECT_EQ(ReadFileText(byRow.Path()), ReadFileText(inTurn.Path()));
        EXPECT_FALSE(PendingError().pending);
    }
}

// ReadRow fills each column as ReadCell for that column returns it, however the cells are counted
// (ss:Index forward, backward, past the column count, repeated), and leaves a cursor under which
// ReadCell still reads the same.
TEST(ExcelBookRows, ReadRowIsReadCellForEachColumn)
{
    const char* const sheets[] = {
        R"(<Table ss:ExpandedColumnCount="4" ss:ExpandedRowCount="3">
<Row><Cell><Data>a</Data></Cell><Cell><Data></Data></Cell><Cell/><Cell><Data>d</Data></Cell><Cell><Data>e</Data></Cell></Row>
<Row><Cell ss:Index="3"><Data>c</Data></Cell><Cell ss:Index="2"><Data>b</Data></Cell><Cell><Data>c2</Data></Cell></Row>
<Row><Cell ss:Index="6"><Data>far</Data></Cell><Cell ss:Index="1"><Data>hidden</Data></Cell></Row>
<Row><Cell><Data>beyond the row count</Data></Cell></Row></Table>)",
        R"(<Table><Row/><Row><Cell><Data>x &amp; y</Data><Data>second</Data></Cell><Cell><Data>z</Data></Cell>
<Cell ss:Index="1"><Data>again</Data></Cell><Cell ss:Index="-3"><Data>n</Data></Cell><Cell ss:Index="7"><Data>g</Data></Cell></Row></Table>)",
        R"(<Table ss:ExpandedColumnCount="0"><Row><Cell><Data>a</Data></Cell></Row></Table>)",
    };
    for (const char* sheet : sheets) {
        SCOPED_TRACE(sheet);
        const ScopedPendingError pending;
        TempDir dir;
        const std::string file = dir.Write(
            "r.xls", std::string("<Workbook><Worksheet ss:Name=\"S\">") + sheet + "</Worksheet></Workbook>");
        CExcelBook byRow;
        CExcelBook byCell;
        for (CExcelBook* book : {&byRow, &byCell}) {
            ASSERT_TRUE(book->Open(file));
            ASSERT_TRUE(book->OpenSheet("S"));
        }
        for (int row = 0; row <= 5; ++row) {
            for (const std::size_t width : {std::size_t{1}, std::size_t{3}, std::size_t{8}}) {
                std::vector<std::string> texts(width, "stale");
                byRow.ReadRow(row, texts);
                for (std::size_t column = 0; column < width; ++column) {
                    std::string want;
                    const bool found = byCell.ReadCell(row, static_cast<int>(column), want);
                    EXPECT_EQ(texts[column], want) << row << "," << column << " of " << width;
                    EXPECT_EQ(!texts[column].empty(), found);
                    std::string again;
                    EXPECT_EQ(byRow.ReadCell(row, static_cast<int>(column), again), found);
                    EXPECT_EQ(again, want) << row << "," << column << " read after the row";
                }
            }
        }
        EXPECT_FALSE(PendingError().pending);
    }
    // Without an open sheet: nothing read, and the message ReadCell leaves.
    const ScopedPendingError pending;
    CExcelBook closed;
    std::vector<std::string> texts(2, "stale");
    closed.ReadRow(1, texts);
    EXPECT_EQ(texts, std::vector<std::string>(2));
    EXPECT_EQ(PendingError().text, "Error: Not yet opened the WorkSheet!");
}

TEST_F(ExcelBook, CellWalkStopsAtTheColumnCountAndIndexJumpsPastTheTarget)
{
    ASSERT_TRUE(book.Open(dir.Write(
        "j.xls", R"(<Workbook><Worksheet ss:Name="S"><Table ss:ExpandedColumnCount="3" ss:ExpandedRowCount="1">
<Row><Cell ss:Index="5"><Data>far</Data></Cell><Cell ss:Index="2"><Data>back</Data></Cell></Row></Table></Worksheet></Workbook>)")));
    ASSERT_TRUE(book.OpenSheet("S"));
    std::string out;
    EXPECT_FALSE(book.ReadCell(1, 1, out)); // the walk ended at counter 5 >= 3 columns
    EXPECT_FALSE(book.WriteCell(1, 1, "x")); // an existing cell already stands past the column
    EXPECT_FALSE(PendingError().pending);
}

} // namespace

} // namespace core
