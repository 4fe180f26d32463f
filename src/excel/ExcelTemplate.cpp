#include "excel/ExcelTemplate.h"

#include <array>
#include <string_view>

namespace core {

namespace {

// The font is SimSun and the hyperlink style's name reads "hyperlink", both written in UTF-8 as
// the spreadsheet program that first wrote this template had them.
#define CORVANE_FONT "\xE5\xAE\x8B\xE4\xBD\x93"
#define CORVANE_LINK_STYLE "\xE8\xB6\x85\xE9\x93\xBE\xE6\x8E\xA5"

constexpr std::array<std::string_view, 49> kLines{
    R"(<?xml version="1.0"?>)",
    R"(<?mso-application progid="Excel.Sheet"?>)",
    R"(<Workbook xmlns="urn:schemas-microsoft-com:office:spreadsheet")",
    R"( xmlns:o="urn:schemas-microsoft-com:office:office")",
    R"( xmlns:x="urn:schemas-microsoft-com:office:excel")",
    R"( xmlns:ss="urn:schemas-microsoft-com:office:spreadsheet")",
    R"( xmlns:html="http://www.w3.org/TR/REC-html40">)",
    R"( <DocumentProperties xmlns="urn:schemas-microsoft-com:office:office">)",
    R"(  <Created>1996-12-17T01:32:42Z</Created>)",
    R"(  <LastSaved>2011-05-19T07:14:55Z</LastSaved>)",
    R"(  <Version>11.5606</Version>)",
    R"( </DocumentProperties>)",
    R"( <OfficeDocumentSettings xmlns="urn:schemas-microsoft-com:office:office">)",
    R"(  <RemovePersonalInformation/>)",
    R"( </OfficeDocumentSettings>)",
    R"( <ExcelWorkbook xmlns="urn:schemas-microsoft-com:office:excel">)",
    R"(  <WindowHeight>4530</WindowHeight>)",
    R"(  <WindowWidth>8505</WindowWidth>)",
    R"(  <WindowTopX>480</WindowTopX>)",
    R"(  <WindowTopY>120</WindowTopY>)",
    R"(  <AcceptLabelsInFormulas/>)",
    R"(  <ProtectStructure>False</ProtectStructure>)",
    R"(  <ProtectWindows>False</ProtectWindows>)",
    R"( </ExcelWorkbook>)",
    R"( <Styles>)",
    R"(  <Style ss:ID="Default" ss:Name="Normal">)",
    R"(   <Alignment ss:Vertical="Bottom"/>)",
    R"(   <Borders/>)",
    "   <Font ss:FontName=\"" CORVANE_FONT "\" x:CharSet=\"134\" ss:Size=\"12\"/>",
    R"(   <Interior/>)",
    R"(   <NumberFormat/>)",
    R"(   <Protection/>)",
    R"(  </Style>)",
    "  <Style ss:ID=\"s21\" ss:Name=\"" CORVANE_LINK_STYLE "\">",
    "   <Font ss:FontName=\"" CORVANE_FONT "\" x:CharSet=\"134\" ss:Size=\"12\" ss:Color=\"#0000FF\"",
    R"(    ss:Underline="Single"/>)",
    R"(  </Style>)",
    R"( </Styles>)",
    R"( <Worksheet ss:Name="Satellites">)",
    R"(  <Table ss:ExpandedColumnCount="0" ss:ExpandedRowCount="0" x:FullColumns="1")",
    R"(   x:FullRows="1" ss:DefaultColumnWidth="54" ss:DefaultRowHeight="14.25"/>)",
    R"(  <WorksheetOptions xmlns="urn:schemas-microsoft-com:office:excel">)",
    R"(   <Unsynced/>)",
    R"(   <Selected/>)",
    R"(   <ProtectObjects>False</ProtectObjects>)",
    R"(   <ProtectScenarios>False</ProtectScenarios>)",
    R"(  </WorksheetOptions>)",
    R"( </Worksheet>)",
    R"(</Workbook>)",
};

#undef CORVANE_FONT
#undef CORVANE_LINK_STYLE

} // namespace

std::string ExcelWorkbookTemplate()
{
    std::string text;
    for (const std::string_view line : kLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace core
