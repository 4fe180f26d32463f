#include "WorkbookXml.h"

#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelIn.h"
#include "support/FakeUiHooks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::FakeUiHooks;
using testsupport::TempDir;

namespace core {

namespace {

using namespace WorkbookXml;

class ExcelInTest : public testing::Test
{
protected:
    ScopedPendingError m_pending; // each test starts with an empty slot and leaves it as it was

    bool Import(const std::vector<Sheet>& sheets) { return ImportText(Build(sheets)); }
    bool ImportText(const std::string& xml)
    {
        const std::string path = dir.Write("book.xls", xml);
        return CAccessExcelIn().Import(path, db);
    }

    std::vector<std::string> SatNames() const
    {
        std::vector<std::string> names;
        for (const CSatNode& sat : db.Sats()) {
            names.push_back(sat.Name());
        }
        return names;
    }

    TempDir dir;
    FakeUiHooks ui;
    CProgDb db;
};

Sheet OneTpOneProg(const std::string& name)
{
    return {name, {ProgHeader(), ProgRow("", "11494", "22000", "H"), ProgRow("P " + name, "11494", "22000", "H")}};
}

TEST_F(ExcelInTest, HeaderOnlyImportsNothing)
{
    EXPECT_TRUE(Import({{"Satellites", {SatHeader()}}}));
    EXPECT_TRUE(db.IsEmpty());
}

TEST_F(ExcelInTest, SelectLetterDecidesWhatIsTaken)
{
    ASSERT_TRUE(Import({{"Satellites",
                         {SatHeader(),
                          SatRow("Yes", "Yes", "Y1"),
                          SatRow("Sat", "Sat", "S1"),
                          SatRow("TP", "TP", "T1"),
                          SatRow("x", "x", "X1"),
                          SatRow("a", "a", "A1")}},
                        OneTpOneProg("Y1"),
                        OneTpOneProg("T1"),
                        OneTpOneProg("X1"),
                        OneTpOneProg("A1")})); // "S1" is never opened, so its absence does no harm
    EXPECT_EQ(SatNames(), (std::vector<std::string>{"Yes", "Sat", "TP"}));
    std::vector<std::int32_t> selects;
    for (const CSatNode& sat : db.Sats()) {
        selects.push_back(sat.Select());
    }
    EXPECT_EQ(selects, (std::vector<std::int32_t>{0, 1, 2}));
    ASSERT_EQ(db.Tps().Count(), 2u);
    EXPECT_EQ(db.Tps().CountByParent(0), 1u);
    EXPECT_EQ(db.Tps().CountByParent(2), 1u);
    ASSERT_EQ(db.Progs().Count(), 1u);
    EXPECT_EQ(db.Progs().begin()->ProgName(), "P Y1");
}

TEST_F(ExcelInTest, EmptySelectEndsTheSheetAndEmptyProgSheetSkipsTheRow)
{
    ASSERT_TRUE(Import({{"Satellites",
                         {SatHeader(),
                          SatRow("A", "NoSheet", ""),
                          SatRow("A", "One", "S1"),
                          SatRow("", "Two", "S2"),
                          SatRow("A", "Three", "S3")}},
                        {"S1", {ProgHeader()}}}));
    EXPECT_EQ(SatNames(), (std::vector<std::string>{"One"}));
}

TEST_F(ExcelInTest, SatelliteFieldsAndLnbIndexes)
{
    const Row row{
        "A", "Astra 19.2E", "S1", "2049", "9750", "10600", "1", "3", "7", "255", "1", "2", "3", "1", "5", "6"};
    ASSERT_TRUE(Import({{"Satellites", {SatHeader(), row}}, {"S1", {ProgHeader()}}}));
    ASSERT_EQ(db.Sats().Count(), 1u);
    const CSatNode& sat = *db.Sats().begin();
    EXPECT_EQ(sat.Longitude(), 1u); // 2049 keeps its low 11 bits
    EXPECT_EQ(sat.LocalFre1(), 3u);
    EXPECT_EQ(sat.LocalFre2(), 5u);
    EXPECT_EQ(sat.Switch12V(), 1u);
    EXPECT_EQ(sat.Tone22K(), 3u);
    EXPECT_EQ(sat.DiSEqC(), 7u);
    EXPECT_EQ(sat.DiSEqC12(), 255u);
    EXPECT_EQ(sat.Direction(), 1u);
    EXPECT_EQ(sat.LnbType(), 2u);
    EXPECT_EQ(sat.DisEqCMotor(), 3u);
    EXPECT_EQ(sat.TunerSel(), 1u);
    EXPECT_EQ(sat.VideoType(), 5u);
    EXPECT_EQ(sat.AudioType(), 6u);
    EXPECT_TRUE(ui.messages.empty());
}

struct FailingRowCase
{
    const char* label;
    Row row;
    std::vector<std::string> readErrors; // texts of "Read Error" boxes
};

const FailingRowCase kFailingRows[] = {
    {"LNB 1 not in the table", SatRow("A", "Bad", "S1", "9751"), {"Reading Excel Error!\nRow=3, Column=4"}},
    {"LNB 2 not in the table", SatRow("A", "Bad", "S1", "9750", "1"), {"Reading Excel Error!\nRow=3, Column=5"}},
    {"empty name", SatRow("A", "", "S1"), {}},
    {"empty longitude", Row{"A", "Bad", "S1", "", "9750", "10600"}, {}},
    {"empty LNB 1", SatRow("A", "Bad", "S1", ""), {}},
    {"empty LNB 2", SatRow("A", "Bad", "S1", "9750", ""), {}},
};

TEST_F(ExcelInTest, FailedSatelliteRowEmptiesTheDatabase)
{
    for (const FailingRowCase& c : kFailingRows) {
        SCOPED_TRACE(c.label);
        ui.messages.clear();
        ClearPendingError();
        EXPECT_FALSE(Import({{"Satellites", {SatHeader(), SatRow("A", "Good", "S1"), c.row}}, OneTpOneProg("S1")}));
        EXPECT_TRUE(db.IsEmpty());
        std::vector<std::string> texts;
        for (const FakeUiHooks::Message& message : ui.messages) {
            texts.push_back(message.text);
            EXPECT_EQ(message.caption, "Read Error");
            EXPECT_EQ(message.icon, UiIcon::Error);
        }
        EXPECT_EQ(texts, c.readErrors);
        EXPECT_FALSE(PendingError().pending) << PendingError().text;
    }
}

TEST_F(ExcelInTest, MissingSheetsFailWithTheirName)
{
    EXPECT_FALSE(Import({{"Sheet1", {SatHeader()}}}));
    EXPECT_EQ(PendingError().text, "Open work sheet failed! Sheet=Satellites");

    EXPECT_FALSE(Import(
        {{"Satellites", {SatHeader(), SatRow("A", "One", "S1"), SatRow("T", "Two", "Nowhere")}}, OneTpOneProg("S1")}));
    EXPECT_EQ(PendingError().text, "Open work sheet failed! Sheet=Nowhere");
    EXPECT_TRUE(db.IsEmpty());

    // Sheet names are exact: case matters.
    EXPECT_FALSE(Import({{"Satellites", {SatHeader(), SatRow("A", "One", "s1")}}, OneTpOneProg("S1")}));
    EXPECT_EQ(PendingError().text, "Open work sheet failed! Sheet=s1");
}

TEST_F(ExcelInTest, UnreadableFilesFailWithThePath)
{
    const std::string missing = dir.File("missing.xls");
    EXPECT_FALSE(CAccessExcelIn().Import(missing, db));
    EXPECT_EQ(PendingError().text, "Open Excel failed! File = " + missing);

    EXPECT_FALSE(ImportText("<Workbook><Worksheet ss:Name=\"Satellites\">"));
    EXPECT_EQ(PendingError().text, "Open Excel failed! File = " + dir.File("book.xls"));
    EXPECT_TRUE(db.IsEmpty());
}

TEST_F(ExcelInTest, TranspondersAreFoundOrAddedPerSatellite)
{
    ASSERT_TRUE(Import({{"Satellites", {SatHeader(), SatRow("A", "One", "S1"), SatRow("A", "Two", "S2")}},
                        {"S1",
                         {ProgHeader(),
                          ProgRow("", "12000", "27500", "V"), // a transponder row alone still makes its transponder
                          ProgRow("P1", "11494", "22000", "H"),
                          ProgRow("P2", "11494", "22000", "0"), // "0" is H as well: the same transponder
                          ProgRow("P3", "11494", "22000", "h")}}, // any other text is V
                        {"S2", {ProgHeader(), ProgRow("P4", "11494", "22000", "H")}}}));
    struct Tp
    {
        std::int32_t parent;
        std::uint32_t frequency, symbolRate, polar;
        bool operator==(const Tp&) const = default;
    };
    std::vector<Tp> tps;
    for (const CTpNode& tp : db.Tps()) {
        tps.push_back({tp.ParentId(), tp.Frequency(), tp.SymbolRate(), tp.Polar()});
    }
    EXPECT_EQ(
        tps, (std::vector<Tp>{{0, 12000, 27500, 1}, {0, 11494, 22000, 0}, {0, 11494, 22000, 1}, {1, 11494, 22000, 0}}));
    std::vector<std::int32_t> parents;
    for (const CProgNode& prog : db.Progs()) {
        parents.push_back(prog.ParentId());
        EXPECT_EQ(prog.TpRef(), static_cast<std::uint32_t>(prog.ParentId()));
        EXPECT_EQ(prog.SatRef(), static_cast<std::uint32_t>(db.Tps().Find(prog.ParentId())->ParentId()));
    }
    EXPECT_EQ(parents, (std::vector<std::int32_t>{1, 1, 2, 3}));
}

TEST_F(ExcelInTest, ProgramRowsDroppedOrEndingTheSheet)
{
    ASSERT_TRUE(Import({{"Satellites", {SatHeader(), SatRow("A", "One", "S1")}},
                        {"S1",
                         {ProgHeader(),
                          ProgRow("NoApid", "11494", "22000", "H", "101", ""),
                          ProgRow("NoVpid", "11494", "22000", "H", "", "102"),
                          ProgRow("Kept", "11494", "22000", "H"),
                          ProgRow("NoPolar", "11494", "22000", ""),
                          ProgRow("After", "12000", "27500", "H")}}}));
    ASSERT_EQ(db.Progs().Count(), 1u);
    EXPECT_EQ(db.Progs().begin()->ProgName(), "Kept");
    EXPECT_EQ(db.Tps().Count(), 1u); // the row after the end is not read
}

TEST_F(ExcelInTest, ProgramFieldsKeepTheirLowBits)
{
    Row row{"Das Erste",
            "16385",
            "65537",
            "V",
            "8193",
            "8194",
            "8195",
            "3",
            "1",
            "6",
            "65536",
            "8196",
            "1",
            "1",
            "1",
            "-1",
            "5",
            "9",
            "15"};
    ASSERT_TRUE(Import({{"Satellites", {SatHeader(), SatRow("A", "One", "S1")}}, {"S1", {ProgHeader(), row}}}));
    const CTpNode& tp = *db.Tps().begin();
    EXPECT_EQ(tp.Frequency(), 1u);
    EXPECT_EQ(tp.SymbolRate(), 1u);
    EXPECT_EQ(tp.Polar(), 1u);
    EXPECT_EQ(tp.ExtraFlag(), 0u);
    const CProgNode& prog = *db.Progs().begin();
    EXPECT_EQ(prog.VPID(), 1u);
    EXPECT_EQ(prog.APID(), 2u);
    EXPECT_EQ(prog.PCRPID(), 3u);
    EXPECT_EQ(prog.Scramble(), 1u);
    EXPECT_EQ(prog.Hide(), 1u);
    EXPECT_EQ(prog.Track(), 2u);
    EXPECT_EQ(prog.ServiceId(), 0u);
    EXPECT_EQ(prog.PmtPid(), 4u);
    EXPECT_EQ(prog.AvType(), 1u);
    EXPECT_EQ(prog.Lock(), 1u);
    EXPECT_EQ(prog.Skip(), 1u);
    EXPECT_EQ(prog.FavType(), 0xFFFFFFFFu);
    EXPECT_EQ(prog.TunerSel(), 1u);
    EXPECT_EQ(prog.VideoType(), 1u);
    EXPECT_EQ(prog.AudioType(), 7u);
    EXPECT_EQ(prog.ProgName(), "Das Erste");
}

TEST_F(ExcelInTest, BadNumbersAndLongNames)
{
    const std::string longSat = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string longProg(60, 'n');
    Row sat = SatRow("A", longSat, "S1");
    sat[3] = "99999999999"; // beyond 32 bits: all ones, cut to 11 bits
    sat[9] = "abc";
    Row prog = ProgRow(longProg, "12abc", "27500", "H", "4294967296", "-1");
    prog[15] = "18446744073709551617"; // beyond 64 bits too
    ASSERT_TRUE(Import(
        {{"Satellites", {SatHeader(), sat}}, {"S1", {ProgHeader(), prog, ProgRow(R"("\xC4\xE3")", "1", "2", "H")}}}));
    const CSatNode& s = *db.Sats().begin();
    EXPECT_EQ(s.Name(), longSat.substr(0, 16));
    EXPECT_EQ(s.Longitude(), 2047u);
    EXPECT_EQ(s.DiSEqC12(), 0u);
    ASSERT_EQ(db.Progs().Count(), 2u);
    const CProgNode& p = *db.Progs().begin();
    EXPECT_EQ(p.ProgName(), longProg.substr(0, 41));
    EXPECT_EQ(p.Record().Bytes()[61], 0); // the name keeps its terminator
    EXPECT_EQ(p.VPID(), 8191u);
    EXPECT_EQ(p.APID(), 8191u);
    EXPECT_EQ(p.FavType(), 0xFFFFFFFFu);
    EXPECT_EQ(db.Tps().begin()->Frequency(), 12u);
    EXPECT_EQ(std::next(db.Progs().begin())->ProgName(), "\xC4\xE3");
}

TEST_F(ExcelInTest, TransponderOnlySatellitesDropTheirPrograms)
{
    ASSERT_TRUE(Import({{"Satellites", {SatHeader(), SatRow("T", "One", "S1")}}, OneTpOneProg("S1")}));
    EXPECT_EQ(db.Tps().Count(), 1u);
    EXPECT_EQ(db.Progs().Count(), 0u);
    EXPECT_EQ(db.Progs().LastId(), InvalidId); // not even added and deleted
}

TEST_F(ExcelInTest, MillionEmptyRowsEndAtOnce)
{
    std::string xml = Build({{"Satellites", {SatHeader(), SatRow("A", "One", "S1")}}, OneTpOneProg("S1")});
    std::string empties;
    for (int i = 0; i < 1000000; ++i) {
        empties += "<Row/>";
    }
    // The empty rows follow the data in both sheets, and the tables declare them.
    std::size_t at = 0;
    while ((at = xml.find("  </Table>", at)) != std::string::npos) {
        xml.insert(at, empties);
        at += empties.size() + 10;
    }
    for (const char* count : {"ss:ExpandedRowCount=\"2\"", "ss:ExpandedRowCount=\"3\""}) {
        const std::size_t pos = xml.find(count);
        ASSERT_NE(pos, std::string::npos);
        xml.replace(pos, std::string(count).size(), "ss:ExpandedRowCount=\"1000003\"");
    }
    ASSERT_TRUE(ImportText(xml));
    EXPECT_EQ(db.Sats().Count(), 1u);
    EXPECT_EQ(db.Progs().Count(), 1u);
}

// The form a spreadsheet program saves: prefixed worksheet elements, no declared counts,
// skipped cells marked with ss:Index, numbers typed as numbers, styles of its own.
TEST_F(ExcelInTest, WorkbookSavedBySpreadsheetProgram)
{
    const std::string xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<?mso-application progid="Excel.Sheet"?>
<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet" xmlns:c="urn:schemas-microsoft-com:office:component:spreadsheet" xmlns:html="http://www.w3.org/TR/REC-html40" xmlns:o="urn:schemas-microsoft-com:office:office" xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet" xmlns:x2="http://schemas.microsoft.com/office/excel/2003/xml" xmlns:x="urn:schemas-microsoft-com:office:excel" xmlns:dt="uuid:C2F41010-65B3-11d1-A29F-00AA00C14882">
 <ss:Styles><ss:Style ss:ID="Default" ss:Name="Default"/><ss:Style ss:ID="co1"/></ss:Styles>
 <ss:Worksheet ss:Name="Satellites">
  <Table ss:StyleID="ta1">
   <Column ss:Span="15" ss:Width="64"/>
   <Row ss:Height="14"><Cell><Data ss:Type="String">select</Data></Cell><Cell><Data ss:Type="String">SateName</Data></Cell><Cell><Data ss:Type="String">ProgSheet</Data></Cell></Row>
   <Row ss:Height="14"><Cell><Data ss:Type="String">A</Data></Cell><Cell ss:StyleID="ce1" ss:HRef="#Astra_19_2E.A1"><Data ss:Type="String">Astra 19.2E</Data></Cell><Cell><Data ss:Type="String">Astra_19_2E</Data></Cell><Cell><Data ss:Type="Number">192</Data></Cell><Cell><Data ss:Type="Number">9750</Data></Cell><Cell><Data ss:Type="Number">10600</Data></Cell><Cell ss:Index="9"><Data ss:Type="Number">3</Data></Cell></Row>
  </Table>
  <x:WorksheetOptions/>
 </ss:Worksheet>
 <ss:Worksheet ss:Name="Astra_19_2E">
  <Table ss:StyleID="ta1">
   <Row ss:Height="14"><Cell><Data ss:Type="String">ProgName</Data></Cell></Row>
   <Row ss:Height="14"><Cell ss:Index="2"><Data ss:Type="Number">11494</Data></Cell><Cell><Data ss:Type="Number">22000</Data></Cell><Cell><Data ss:Type="String">H</Data></Cell></Row>
   <Row ss:Height="14"><Cell><Data ss:Type="String">Das Erste HD</Data></Cell><Cell><Data ss:Type="Number">11494</Data></Cell><Cell><Data ss:Type="Number">22000</Data></Cell><Cell><Data ss:Type="String">H</Data></Cell><Cell><Data ss:Type="Number">5101</Data></Cell><Cell><Data ss:Type="Number">5102</Data></Cell><Cell ss:Index="11"><Data ss:Type="Number">10301</Data></Cell><Cell ss:Index="16"><Data ss:Type="Number">-1</Data></Cell></Row>
  </Table>
 </ss:Worksheet>
</Workbook>
)";
    ASSERT_TRUE(ImportText(xml)) << PendingError().text;
    ASSERT_EQ(SatNames(), (std::vector<std::string>{"Astra 19.2E"}));
    const CSatNode& sat = *db.Sats().begin();
    EXPECT_EQ(sat.Longitude(), 192u);
    EXPECT_EQ(sat.DiSEqC(), 3u); // ss:Index 9 is column 8
    EXPECT_EQ(sat.DiSEqC12(), 0u);
    ASSERT_EQ(db.Tps().Count(), 1u);
    ASSERT_EQ(db.Progs().Count(), 1u);
    const CProgNode& prog = *db.Progs().begin();
    EXPECT_EQ(prog.ProgName(), "Das Erste HD");
    EXPECT_EQ(prog.VPID(), 5101u);
    EXPECT_EQ(prog.APID(), 5102u);
    EXPECT_EQ(prog.PCRPID(), 0u);
    EXPECT_EQ(prog.ServiceId(), 10301u);
    EXPECT_EQ(prog.FavType(), 0xFFFFFFFFu);
}

} // namespace

} // namespace core
