#include "WorkbookXml.h"

#include "common/CodePage.h"
#include "excel/ExcelLayout.h"

#include <algorithm>

namespace core {

namespace WorkbookXml {
namespace {

std::string Escape(const std::string& text)
{
    std::string out;
    for (const char c : InternalToUtf8(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void AppendSheet(std::string& xml, const Sheet& sheet)
{
    std::size_t columns = 0;
    for (const Row& row : sheet.rows) {
        columns = std::max(columns, row.size());
    }
    xml += " <Worksheet ss:Name=\"" + Escape(sheet.name) + "\">\r\n";
    xml += "  <Table ss:ExpandedColumnCount=\"" + std::to_string(columns) + "\" ss:ExpandedRowCount=\""
        + std::to_string(sheet.rows.size()) + "\">\r\n";
    for (const Row& row : sheet.rows) {
        xml += "   <Row>";
        for (const std::string& text : row) {
            xml += text.empty() ? "<Cell/>" : "<Cell><Data ss:Type=\"String\">" + Escape(text) + "</Data></Cell>";
        }
        xml += "</Row>\r\n";
    }
    xml += "  </Table>\r\n </Worksheet>\r\n";
}

Row Header(const auto& headers)
{
    return Row(headers.begin(), headers.end());
}

} // namespace

std::string Build(const std::vector<Sheet>& sheets)
{
    std::string xml = "<?xml version=\"1.0\"?>\r\n<?mso-application progid=\"Excel.Sheet\"?>\r\n"
                      "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"\r\n"
                      " xmlns:o=\"urn:schemas-microsoft-com:office:office\"\r\n"
                      " xmlns:x=\"urn:schemas-microsoft-com:office:excel\"\r\n"
                      " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"\r\n"
                      " xmlns:html=\"http://www.w3.org/TR/REC-html40\">\r\n";
    for (const Sheet& sheet : sheets) {
        AppendSheet(xml, sheet);
    }
    xml += "</Workbook>\r\n";
    return xml;
}

Row SatRow(const std::string& select,
           const std::string& name,
           const std::string& sheet,
           const std::string& lnb1,
           const std::string& lnb2)
{
    Row row{select, name, sheet, "192", lnb1, lnb2};
    row.resize(ExcelLayout::kSatHeaders.size(), "0");
    return row;
}

Row ProgRow(const std::string& name,
            const std::string& fre,
            const std::string& symbolRate,
            const std::string& polar,
            const std::string& vpid,
            const std::string& apid)
{
    Row row{name, fre, symbolRate, polar, vpid, apid};
    row.resize(ExcelLayout::kProgHeaders.size(), "0");
    return row;
}

Row SatHeader()
{
    return Header(ExcelLayout::kSatHeaders);
}

Row ProgHeader()
{
    return Header(ExcelLayout::kProgHeaders);
}

} // namespace WorkbookXml

} // namespace core
