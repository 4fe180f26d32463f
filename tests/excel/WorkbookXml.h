#pragma once

#include <string>
#include <vector>

namespace core {

// Small inline workbooks for the import tests, in the layout a spreadsheet program saves.
namespace WorkbookXml {

using Row = std::vector<std::string>; // cell texts from column 0; "" is a cell without data
using Rows = std::vector<Row>;

struct Sheet
{
    std::string name;
    Rows rows; // row 1 first
};

// A whole workbook in the export's own form: counts declared on every table, every cell
// written in column order. Texts are in the internal code page and stored as UTF-8.
std::string Build(const std::vector<Sheet>& sheets);

// A "Satellites" row: select, name, sheet, longitude, the two LNB frequencies, then columns 6-15.
Row SatRow(const std::string& select,
           const std::string& name,
           const std::string& sheet,
           const std::string& lnb1 = "9750",
           const std::string& lnb2 = "10600");

// A program-sheet row with name, "Fre", "SymbolRate", "Polar", "VPID", "APID" and zeros after.
Row ProgRow(const std::string& name,
            const std::string& fre,
            const std::string& symbolRate,
            const std::string& polar,
            const std::string& vpid = "101",
            const std::string& apid = "102");

// The two header rows.
Row SatHeader();
Row ProgHeader();

} // namespace WorkbookXml

} // namespace core
