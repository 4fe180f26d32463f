#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace core {

class CXmlDocument;

// A workbook in the XML Spreadsheet 2003 format, seen as sheets of text cells addressed by row
// (from 1) and column (from 0). The XML document is the only copy of the data: no sheet, row or
// cell is cached beyond a cursor that makes reads and writes in increasing order cheap.
// Failures return false; most also leave a text in PendingError().
class CExcelBook
{
public:
    CExcelBook();
    ~CExcelBook();
    CExcelBook(const CExcelBook&) = delete;
    CExcelBook& operator=(const CExcelBook&) = delete;

    // Writes the fixed workbook template (one empty sheet "Satellites") to path, then opens it.
    [[nodiscard]] bool Create(std::string_view path);
    // Opens the fixed workbook template in memory only; Save writes it to path for the first time.
    [[nodiscard]] bool CreateInMemory(std::string_view path);
    // Discards any open document and loads path; false (and a pending error) when unreadable or ill-formed.
    [[nodiscard]] bool Open(std::string_view path);
    // Drops the document without writing anything.
    void Close();
    // Writes the document to the path of the last successful Open or Create.
    [[nodiscard]] bool Save();

    // Makes the worksheet with this exact name the current sheet.
    [[nodiscard]] bool OpenSheet(std::string_view name);
    // As OpenSheet, appending an empty worksheet after the last one when none has the name.
    [[nodiscard]] bool CreateSheet(std::string_view name);

    // Reads the text of a cell; true when the cell exists and its text is not empty.
    [[nodiscard]] bool ReadCell(int row, int column, std::string& out);
    // Reads columns 0 to out.size() - 1 of a row in one walk: each out[k] as ReadCell(row, k) would
    // fill it (empty where ReadCell is false).
    void ReadRow(int row, std::span<std::string> out);
    // Writes a text cell (type "String"), making rows and cells as needed.
    [[nodiscard]] bool WriteCell(int row, int column, std::string_view text);
    // Writes texts into columns 0, 1, ... of row, as WriteCell for each in turn; a row not yet in
    // the sheet is added whole in one edit.
    [[nodiscard]] bool WriteRow(int row, std::span<const std::string_view> texts);
    // Makes an existing cell a hyperlink to target with the template's hyperlink style.
    [[nodiscard]] bool LinkCell(int row, int column, std::string_view target);

    // A document is loaded.
    bool IsOpen() const { return m_isOpen; }
    // The path Save writes to.
    const std::string& Path() const { return m_path; }

private:
    struct Cursor;

    void Adopt(std::unique_ptr<CXmlDocument> doc, std::string_view path);
    [[nodiscard]] bool FindSheet(std::string_view name);
    [[nodiscard]] bool SheetCheck();
    [[nodiscard]] bool FindTable();
    std::uint32_t FindRow(int row, bool create);
    // A cell's text to write where FindCell adds the cell; done once it is written with the cell.
    struct CellFill
    {
        std::string_view text;
        bool done = false;
    };
    std::uint32_t FindCell(std::uint32_t row, long long column, bool create, CellFill* fill = nullptr);
    std::uint32_t FindExistingCell(int row, int column);
    // The text of the first Data child of a cell of the cursor's row.
    void CellData(std::uint32_t cell, std::string& out);
    // WriteRow's one edit; false, with nothing written, when the row is already there.
    [[nodiscard]] bool AddRow(int row, std::span<const std::string_view> texts);
    // WriteCell's work, within its guard.
    [[nodiscard]] bool FillCell(int row, int column, std::string_view text);

    bool m_isOpen = false;
    std::string m_path;
    std::unique_ptr<CXmlDocument> m_doc;
    std::unique_ptr<Cursor> m_cursor; // row/cell positions of the current sheet; rebuilt when unsure
};

} // namespace core
