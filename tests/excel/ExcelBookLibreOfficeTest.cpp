#include "excel/CExcelBook.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>

using testsupport::ReadFileBytes;
using testsupport::TempDir;

namespace core {

namespace {

using Grid = std::map<std::pair<int, int>, std::string>; // (row, column) -> text

std::string FileText(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs headless LibreOffice with a profile of its own inside dir; false when it fails.
bool RunOffice(const TempDir& dir, const std::string& arguments)
{
    const std::string command = "soffice -env:UserInstallation=file://" + dir.File("profile") + " --headless "
        + arguments + " > " + dir.File("office.log") + " 2>&1";
    return std::system(command.c_str()) == 0;
}

// The CSV LibreOffice writes for a grid: every row up to the last used one, every column up to the
// last used one, fields with a comma or quote quoted with doubled quotes.
std::string ExpectedCsv(const Grid& grid)
{
    int rows = 0;
    int columns = 0;
    for (const auto& [cell, text] : grid) {
        rows = std::max(rows, cell.first);
        columns = std::max(columns, cell.second + 1);
    }
    std::string csv;
    for (int row = 1; row <= rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (column > 0) {
                csv += ',';
            }
            const auto found = grid.find({row, column});
            if (found == grid.end()) {
                continue;
            }
            std::string field = found->second;
            if (field.find_first_of(",\"") != std::string::npos) {
                std::string quoted = "\"";
                for (const char c : field) {
                    quoted += c;
                    if (c == '"') {
                        quoted += '"';
                    }
                }
                field = quoted + "\"";
            }
            csv += field;
        }
        csv += '\n';
    }
    return csv;
}

std::string Utf8(const std::string& latin1)
{
    std::string out;
    for (const char c : latin1) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

TEST(ExcelBookLibreOffice, WrittenWorkbookOpensAndSurvivesARoundTrip)
{
    if (std::system("command -v soffice > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    // Names are in the internal code page, ISO-8859-1 unless CORVANE_CODEPAGE says otherwise.
    const std::map<std::string, Grid> sheets{
        {"Satellites",
         Grid{{{1, 0}, "select"},
              {{1, 1}, "SateName"},
              {{1, 2}, "ProgSheet"},
              {{1, 15}, "AudioType"},
              {{2, 0}, "A"},
              {{2, 1}, "Astra 19.2E"},
              {{2, 2}, "Astra_19_2E"},
              {{2, 3}, "192"},
              {{3, 0}, "S"},
              {{3, 1}, "a & b <c> \"d\", e"},
              {{3, 2}, "Sat_2"},
              {{3, 4}, "-1"},
              {{5, 7}, "after a gap"}}},
        {"Astra_19_2E", Grid{{{1, 0}, "ProgName"}, {{2, 1}, "11494"}, {{3, 0}, "Caf\xE9 TV"}, {{3, 18}, "0"}}},
        {"Sat_2", Grid{{{1, 0}, "ProgName"}}},
    };
    TempDir dir;
    const std::string path = dir.File("book.xls");
    {
        CExcelBook book;
        ASSERT_TRUE(book.Create(path));
        for (const auto& [name, grid] : sheets) {
            ASSERT_TRUE(name == "Satellites" ? book.OpenSheet(name) : book.CreateSheet(name));
            for (const auto& [cell, text] : grid) {
                ASSERT_TRUE(book.WriteCell(cell.first, cell.second, text));
            }
        }
        ASSERT_TRUE(book.OpenSheet("Satellites"));
        ASSERT_TRUE(book.LinkCell(2, 1, "#Astra_19_2E!A1"));
        ASSERT_TRUE(book.Save());
    }

    // (a) Every sheet converted to CSV holds the cells where they were written.
    ASSERT_TRUE(
        RunOffice(dir,
                  "--convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' "
                  "--infilter='MS Excel 2003 XML Orcus' --outdir "
                      + dir.File("csv") + " " + path))
        << FileText(dir.File("office.log"));
    for (const auto& [name, grid] : sheets) {
        Grid utf8;
        for (const auto& [cell, text] : grid) {
            utf8[cell] = Utf8(text);
        }
        EXPECT_EQ(FileText(dir.File("csv/book-" + name + ".csv")), ExpectedCsv(utf8)) << name;
    }

    // (b) Saved again by LibreOffice as "MS Excel 2003 XML" (ss:Worksheet, no counts, ss:Index gaps),
    // the workbook reads back the same cells.
    ASSERT_TRUE(RunOffice(
        dir, "--convert-to ods --infilter='MS Excel 2003 XML Orcus' --outdir " + dir.File("ods") + " " + path))
        << FileText(dir.File("office.log"));
    ASSERT_TRUE(RunOffice(
        dir, "--convert-to 'xml:MS Excel 2003 XML' --outdir " + dir.File("resaved") + " " + dir.File("ods/book.ods")))
        << FileText(dir.File("office.log"));
    const std::string resaved = dir.File("resaved/book.xml");
    EXPECT_NE(FileText(resaved).find("<ss:Worksheet ss:Name=\"Satellites\">"), std::string::npos);
    CExcelBook book;
    ASSERT_TRUE(book.Open(resaved));
    for (const auto& [name, grid] : sheets) {
        ASSERT_TRUE(book.OpenSheet(name)) << name;
        for (int row = 1; row <= 6; ++row) {
            for (int column = 0; column < 20; ++column) {
                const auto found = grid.find({row, column});
                const std::string want = found == grid.end() ? "" : found->second;
                std::string out;
                EXPECT_EQ(book.ReadCell(row, column, out), !want.empty()) << name << " " << row << "," << column;
                EXPECT_EQ(out, want) << name << " " << row << "," << column;
            }
        }
    }
}

} // namespace

} // namespace core
