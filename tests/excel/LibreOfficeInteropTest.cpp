// Interop with a real spreadsheet program: LibreOffice Calc, run headless.
//   (a) an exported workbook, converted by LibreOffice to CSV per sheet, holds the cells the
//       export wrote;
//   (b) an exported workbook opened and saved again by LibreOffice in its own XML Spreadsheet
//       form (prefixed worksheets, no declared counts, ss:Index gaps) imports back into the same
//       database, within the differences an export and import may make.
#include "SampleChannels.h"

#include "common/CodePage.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelIn.h"
#include "excel/CAccessExcelOut.h"
#include "excel/CExcelBook.h"
#include "support/FakeUiHooks.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using testsupport::FakeUiHooks;
using testsupport::ReadFileText;
using testsupport::TempDir;

namespace core {

namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kCsvFilter = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1";
constexpr const char* kXmlInFilter = "MS Excel 2003 XML Orcus";
constexpr const char* kXmlOutFilter = "xml:MS Excel 2003 XML";

std::string FindSoffice()
{
    const char* path = std::getenv("PATH");
    std::string dirs = path == nullptr ? "/usr/bin" : path;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::filesystem::path candidate = std::filesystem::path(dirs.substr(start, end - start)) / "soffice";
        if (std::filesystem::exists(candidate)) {
            return candidate.string();
        }
        start = end + 1;
    }
    return {};
}

std::string Quote(const std::string& text)
{
    std::string out = "'";
    for (const char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

// RFC 4180 as LibreOffice writes it: "," between fields, '"' quoting with doubled quotes.
Rows ParseCsv(const std::string& text)
{
    Rows rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            rows.back().push_back(std::move(field));
            field.clear();
            rows.emplace_back();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty() || !rows.back().empty()) {
        rows.back().push_back(std::move(field));
    } else {
        rows.pop_back();
    }
    return rows;
}

// Drops trailing empty cells and rows, which differ only in how far each side pads.
Rows Trimmed(Rows rows)
{
    for (auto& row : rows) {
        while (!row.empty() && row.back().empty()) {
            row.pop_back();
        }
    }
    while (!rows.empty() && rows.back().empty()) {
        rows.pop_back();
    }
    return rows;
}

// The cells of a sheet as the workbook layer reads them, converted to UTF-8 as the file holds them.
Rows ReadSheetUtf8(CExcelBook& book, const std::string& sheet, int width, int rows)
{
    Rows out;
    EXPECT_TRUE(book.OpenSheet(sheet)) << PendingError().text;
    for (int row = 1; row <= rows; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < width; ++column) {
            std::string text;
            (void)book.ReadCell(row, column, text); // an absent cell reads as empty text
            cells.push_back(InternalToUtf8(text));
        }
        out.push_back(std::move(cells));
    }
    return Trimmed(std::move(out));
}

// LibreOffice 7.4 writes a cell text that starts with two or more blanks with one blank more
// when it saves XML Spreadsheet 2003 (its own file keeps them right). That is the spreadsheet
// program changing the data, not the exchange losing it, so such names are left out here.
void TrimLeadingBlankRuns(CProgDb& db)
{
    auto trimmed = [](std::string name) {
        if (name.rfind("  ", 0) == 0) {
            name.erase(0, name.find_first_not_of(' '));
        }
        return name;
    };
    for (CSatNode& sat : db.Sats()) {
        sat.SetName(trimmed(sat.Name()));
    }
    for (CProgNode& prog : db.Progs()) {
        prog.SetProgName(trimmed(prog.ProgName()));
    }
}

// Two satellites whose names differ only in case: a spreadsheet program keeps their sheets apart
// only when the sheet names differ in more than case.
void AddCaseTwins(CProgDb& db)
{
    for (const char* name : {"Twin 1", "TWIN 1"}) {
        auto sat = std::make_unique<CSatNode>();
        sat->SetName(name);
        sat->SetLocalFre1(3);
        const std::int32_t satId = db.Sats().Add(std::move(sat));
        auto tp = std::make_unique<CTpNode>(InvalidId, satId);
        tp->SetFrequency(11111);
        const std::int32_t tpId = db.Tps().Add(std::move(tp));
        auto prog = std::make_unique<CProgNode>(InvalidId, tpId);
        prog->SetProgName(std::string("Program on ") + name);
        db.Progs().Add(std::move(prog));
    }
}

class LibreOfficeInteropTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_soffice = FindSoffice();
        if (m_soffice.empty()) {
            if (std::getenv("CI") != nullptr) {
                FAIL() << "soffice not found; CI installs libreoffice-calc-nogui";
            }
            GTEST_SKIP() << "soffice not found (install libreoffice-calc-nogui)";
        }
        ASSERT_TRUE(m_codePage.Installed());
        LoadSampleChannels(db);
        TrimLeadingBlankRuns(db);
        AddCaseTwins(db);
        exported = dir.File("channels.xls");
        ASSERT_TRUE(CAccessExcelOut().Export(exported, db)) << PendingError().text;
    }

    // Runs one conversion; its own profile folder keeps parallel test runs apart.
    void
    Convert(const std::string& filter, const std::string& inFilter, const std::string& outDir, const std::string& file)
    {
        std::string command = "timeout 300 " + Quote(m_soffice) + " "
            + Quote("-env:UserInstallation=file://" + dir.File("profile")) + " --headless --norestore --convert-to "
            + Quote(filter);
        if (!inFilter.empty()) {
            command += " --infilter=" + Quote(inFilter);
        }
        command += " --outdir " + Quote(outDir) + " " + Quote(file) + " > " + Quote(dir.File("soffice.log")) + " 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_EQ(status, 0) << command << "\n" << ReadFileText(dir.File("soffice.log"));
    }

    TempDir dir;
    FakeUiHooks ui;
    CProgDb db;
    std::string exported;

private:
    std::string m_soffice;
    ScopedPendingError m_pending;
    ScopedCodePage m_codePage{"ISO-8859-1"};
};

TEST_F(LibreOfficeInteropTest, CsvOfEverySheetHoldsTheExportedCells)
{
    const std::string csvDir = dir.File("csv");
    Convert(kCsvFilter, kXmlInFilter, csvDir, exported);

    CExcelBook book;
    ASSERT_TRUE(book.Open(exported)) << PendingError().text;
    std::vector<std::string> sheets{"Satellites"};
    {
        const Rows satellites = ReadSheetUtf8(book, "Satellites", 16, static_cast<int>(db.Sats().Count()) + 1);
        for (std::size_t row = 1; row < satellites.size(); ++row) {
            sheets.push_back(satellites[row].at(2));
        }
    }
    ASSERT_EQ(sheets.size(), db.Sats().Count() + 1);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(csvDir)) {
        files += entry.path().extension() == ".csv" ? 1 : 0;
    }
    EXPECT_EQ(files, sheets.size()) << "one CSV file per sheet";

    for (const std::string& sheet : sheets) {
        SCOPED_TRACE(sheet);
        const int width = sheet == "Satellites" ? 16 : 19;
        const Rows csv = Trimmed(ParseCsv(ReadFileText(csvDir + "/channels-" + sheet + ".csv")));
        const Rows ours = ReadSheetUtf8(book, sheet, width, static_cast<int>(csv.size()) + 1);
        ASSERT_FALSE(csv.empty());
        EXPECT_EQ(csv, ours);
    }
}

TEST_F(LibreOfficeInteropTest, WorkbookSavedAgainImportsTheSameDatabase)
{
    const std::string odsDir = dir.File("ods");
    const std::string xmlDir = dir.File("xml");
    Convert("ods", kXmlInFilter, odsDir, exported);
    Convert(kXmlOutFilter, "", xmlDir, odsDir + "/channels.ods");
    const std::string resaved = xmlDir + "/channels.xml";

    // The file really is in the spreadsheet program's own form, not ours.
    const std::string text = ReadFileText(resaved);
    EXPECT_NE(text.find("<ss:Worksheet ss:Name=\"Satellites\""), std::string::npos);
    EXPECT_EQ(text.find("ExpandedRowCount"), std::string::npos);
    EXPECT_NE(text.find("ss:Index="), std::string::npos);

    CProgDb back;
    ASSERT_TRUE(CAccessExcelIn().Import(resaved, back)) << PendingError().text;
    EXPECT_EQ(FirstDifference(DescribeTree(db, true), DescribeTree(back)), "");
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace

} // namespace core
