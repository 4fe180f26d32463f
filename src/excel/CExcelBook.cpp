#include "excel/CExcelBook.h"

#include "common/AtomicFile.h"
#include "common/OutOfMemory.h"
#include "common/PendingError.h"
#include "excel/ExcelTemplate.h"
#include "excel/xml/CXmlDocument.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <limits>
#include <optional>
#include <vector>

namespace core {

namespace {

constexpr std::string_view kSpreadsheetNamespace = "urn:schemas-microsoft-com:office:spreadsheet";
constexpr std::string_view kHyperlinkStyle = "s21";

// A count attribute of the table: present or not, and its value (an unparsable one counts as 0).
struct Count
{
    bool present = false;
    long long value = 0;
};

long long ToInteger(const std::string& text)
{
    return text.empty() ? 0 : std::strtoll(text.c_str(), nullptr, 10);
}

// Puts the document position back on every way out of a cell operation.
class PositionGuard
{
public:
    explicit PositionGuard(CXmlDocument& doc)
        : m_doc(doc)
        , m_saved(doc.Position())
    { }
    ~PositionGuard() { m_doc.SetPosition(m_saved); }
    PositionGuard(const PositionGuard&) = delete;
    PositionGuard& operator=(const PositionGuard&) = delete;

private:
    CXmlDocument& m_doc;
    XmlPosition m_saved;
};

// Runs an edit of the document. A shortage of memory, or a text that would outgrow what a document
// can hold, stops it: nullopt then, with the reason as the pending error (failure when given, else
// the exception's own words).
template <typename Edit>
std::optional<bool> RunEdit(Edit&& edit, const std::string* failure = nullptr)
{
    try {
        return edit();
    } catch (const std::bad_alloc&) {
        SetPendingError(kOutOfMemory);
    } catch (const std::exception& error) {
        SetPendingError(failure != nullptr ? *failure : std::string(error.what()));
    }
    return std::nullopt;
}

} // namespace

// What the last cell operations found in the current sheet. Rows and cells are only ever added
// after the last one, so the row counted n stays the row counted n, and a walk can go on from where
// the previous one stopped: reads and writes in increasing order cost constant time per cell.
struct CExcelBook::Cursor
{
    std::uint32_t sheet = 0; // the Worksheet this cursor belongs to
    std::uint32_t table = 0; // its first Table child, 0 when it has none
    Count rows;
    Count columns;
    int rowNumber = 0; // count of the row below; 0 = none found yet
    std::uint32_t row = 0;
    std::uint32_t cellRow = 0; // row of the cell below
    std::uint32_t cell = 0;
    long long cellColumn = -1; // counter value at that cell
    bool increasing = true; // counters rose strictly from the row's first cell up to that cell
    std::vector<bool> filled; // ReadRow's columns taken so far, kept to save an allocation a row
};

CExcelBook::CExcelBook() = default;

CExcelBook::~CExcelBook()
{
    Close();
}

bool CExcelBook::Create(std::string_view path)
{
    if (!WriteFileAtomically(std::string(path), ExcelWorkbookTemplate())) {
        SetPendingError("Create File Failed!");
        return false;
    }
    return CreateInMemory(path);
}

bool CExcelBook::CreateInMemory(std::string_view path)
{
    Close();
    auto doc = std::make_unique<CXmlDocument>();
    if (!doc->SetUtf8Text(ExcelWorkbookTemplate())) {
        SetPendingError("Create File Failed!");
        return false;
    }
    Adopt(std::move(doc), path);
    return true;
}

bool CExcelBook::Open(std::string_view path)
{
    Close();
    auto doc = std::make_unique<CXmlDocument>();
    if (!doc->LoadFile(path)) {
        SetPendingError("Open Excel failed! File = " + std::string(path));
        SetPendingErrorDetail(doc->FailureReason());
        return false;
    }
    Adopt(std::move(doc), path);
    return true;
}

void CExcelBook::Adopt(std::unique_ptr<CXmlDocument> doc, std::string_view path)
{
    // Element names with a prefix bound to the spreadsheet namespace match by their local name
    // (a spreadsheet program may write "ss:Worksheet" where this layer looks for "Worksheet").
    std::vector<std::string> prefixes;
    doc->Rewind();
    if (doc->SeekElement()) {
        for (const auto& [name, value] : doc->GetAttrs()) {
            if (name.starts_with("xmlns:") && value == kSpreadsheetNamespace) {
                prefixes.push_back(name.substr(6));
            }
        }
    }
    doc->Rewind();
    doc->SetPrefixAliases(prefixes);
    m_doc = std::move(doc);
    m_cursor = std::make_unique<Cursor>();
    m_path = std::string(path);
    m_isOpen = true;
}

void CExcelBook::Close()
{
    m_doc.reset();
    m_cursor.reset();
    m_isOpen = false;
}

bool CExcelBook::Save()
{
    return m_isOpen && m_doc->SaveFile(m_path);
}

bool CExcelBook::FindSheet(std::string_view name)
{
    if (!m_isOpen) {
        return false;
    }
    m_doc->Rewind();
    if (!m_doc->SeekElement("Workbook")) {
        return false;
    }
    std::uint32_t lastSheet = 0;
    while (m_doc->SeekChildElement("Worksheet")) {
        lastSheet = m_doc->Position().child;
        if (m_doc->GetChildAttr("ss:Name") == name) {
            (void)m_doc->EnterChild(); // the child was just found
            *m_cursor = Cursor{};
            return true;
        }
    }
    // Leave the last worksheet as the current child, for CreateSheet to append after it.
    m_doc->SetPosition(XmlPosition{m_doc->Position().parent, m_doc->Position().current, lastSheet});
    return false;
}

bool CExcelBook::OpenSheet(std::string_view name)
{
    if (FindSheet(name)) {
        return true;
    }
    SetPendingError("Open work sheet failed! Sheet=" + std::string(name));
    return false;
}

bool CExcelBook::CreateSheet(std::string_view name)
{
    if (FindSheet(name)) {
        return true;
    }
    const std::string failure = "Create work sheet failed! -- " + std::string(name);
    if (!m_isOpen || !m_doc->CurrentIs("Workbook")) {
        SetPendingError(failure);
        return false;
    }
    const auto addSheet = [&] {
        const XmlPosition root = m_doc->Position();
        if (!m_doc->AppendChildWithAttrs("Worksheet", {}, {{"ss:Name", name}}) || !m_doc->EnterChild()
            || !m_doc->AppendChildWithAttrs(
                "Table", {}, {{"ss:ExpandedColumnCount", "0"}, {"ss:ExpandedRowCount", "0"}})) {
            SetPendingError(failure);
            return false;
        }
        m_doc->SetPosition(XmlPosition{root.parent, m_doc->Position().current, 0});
        return true;
    };
    if (!RunEdit(addSheet, &failure).value_or(false)) {
        return false;
    }
    *m_cursor = Cursor{};
    return true;
}

bool CExcelBook::SheetCheck()
{
    // The cursor's sheet was found as a worksheet, and elements are never renamed.
    if (m_isOpen && m_cursor->sheet != 0 && m_doc->Position().current == m_cursor->sheet) {
        return true;
    }
    if (m_isOpen && m_doc->CurrentIs("Worksheet")) {
        return true;
    }
    SetPendingError("Error: Not yet opened the WorkSheet!");
    return false;
}

bool CExcelBook::FindTable()
{
    const XmlPosition sheet = m_doc->Position();
    if (m_cursor->sheet != sheet.current) {
        // Built aside and taken over whole, so that running out of memory half-way leaves no cursor
        // that believes in counts it never read.
        Cursor c;
        c.sheet = sheet.current;
        m_doc->SetPosition(XmlPosition{sheet.parent, sheet.current, 0});
        if (m_doc->SeekChildElement("Table")) {
            c.table = m_doc->Position().child;
            (void)m_doc->EnterChild(); // the child was just found
            c.rows = Count{m_doc->HasAttr("ss:ExpandedRowCount"), ToInteger(m_doc->GetAttr("ss:ExpandedRowCount"))};
            c.columns
                = Count{m_doc->HasAttr("ss:ExpandedColumnCount"), ToInteger(m_doc->GetAttr("ss:ExpandedColumnCount"))};
        }
        *m_cursor = c;
    }
    return m_cursor->table != 0;
}

std::uint32_t CExcelBook::FindRow(int row, bool create)
{
    Cursor& c = *m_cursor;
    if (c.rowNumber > row || c.rowNumber == 0) {
        c.rowNumber = 0;
        c.row = 0;
    }
    m_doc->SetPosition(XmlPosition{c.sheet, c.table, c.row});
    while (c.rowNumber < row) {
        if (!m_doc->SeekChildElement("Row")) {
            if (!create) {
                return 0;
            }
            // A fixed, valid name in a writable document: only a shortage of memory stops it, and that throws.
            (void)m_doc->AppendChildWithAttrs("Row", {}, {{"ss:AutoFitHeight", "0"}});
        }
        ++c.rowNumber;
        c.row = m_doc->Position().child;
    }
    return c.row;
}

std::uint32_t CExcelBook::FindCell(std::uint32_t row, long long column, bool create, CellFill* fill)
{
    Cursor& c = *m_cursor;
    long long counter = 0;
    if (c.cellRow == row && c.cell != 0 && c.increasing && c.cellColumn < column) {
        counter = c.cellColumn + 1; // go on from the last cell found
    } else {
        c.cellRow = row;
        c.cell = 0;
        c.cellColumn = -1;
        c.increasing = true;
    }
    m_doc->SetPosition(XmlPosition{c.table, row, c.cell});
    while (true) {
        if (c.columns.present && counter >= c.columns.value) {
            return 0;
        }
        bool appended = false;
        if (!m_doc->SeekChildElement("Cell")) {
            if (!create) {
                return 0;
            }
            if (fill != nullptr && counter == column) {
                // The cell and its data in one edit.
                if (!m_doc->AppendChildHolding("Cell", "Data", fill->text, {{"ss:Type", "String"}})) {
                    return 0;
                }
                fill->done = true;
            } else {
                (void)m_doc->AppendChild("Cell"); // as the row above
            }
            appended = true;
        }
        // A cell just added has no attributes to read.
        const long long index = appended ? 0 : ToInteger(m_doc->GetChildAttr("ss:Index"));
        if (index != 0) {
            counter = index - 1;
        }
        c.increasing = c.increasing && counter > c.cellColumn;
        c.cell = m_doc->Position().child;
        c.cellColumn = counter;
        if (counter == column) {
            return c.cell;
        }
        if (create && counter > column) {
            return 0; // an existing cell's ss:Index jumps past the column: nothing sensible to write
        }
        ++counter;
    }
}

std::uint32_t CExcelBook::FindExistingCell(int row, int column)
{
    if (row < 1 || column < 0 || !FindTable()) {
        return 0;
    }
    const Cursor& c = *m_cursor;
    if ((c.rows.present && row > c.rows.value) || (c.columns.present && column >= c.columns.value)) {
        return 0;
    }
    const std::uint32_t rowNode = FindRow(row, false);
    return rowNode == 0 ? 0 : FindCell(rowNode, column, false);
}

bool CExcelBook::ReadCell(int row, int column, std::string& out)
{
    out.clear();
    if (!SheetCheck()) {
        return false;
    }
    const PositionGuard guard(*m_doc);
    const std::uint32_t cell = FindExistingCell(row, column);
    if (cell == 0) {
        return false;
    }
    CellData(cell, out);
    return !out.empty();
}

void CExcelBook::CellData(std::uint32_t cell, std::string& out)
{
    m_doc->SetPosition(XmlPosition{m_cursor->row, cell, 0});
    if (m_doc->SeekChildElement("Data") && m_doc->EnterChild()) {
        m_doc->GetContent(out);
    } else {
        out.clear();
    }
}

void CExcelBook::ReadRow(int row, std::span<std::string> out)
{
    for (std::string& text : out) {
        text.clear();
    }
    if (out.empty() || !SheetCheck()) {
        return;
    }
    const PositionGuard guard(*m_doc);
    if (row < 1 || !FindTable()) {
        return;
    }
    Cursor& c = *m_cursor;
    // The walk FindCell makes for one column, made once: a column takes the first cell counted
    // at it, and the walk stops where FindCell's would (at the column count).
    const long long wanted = c.columns.present
        ? std::min<long long>(c.columns.value, static_cast<long long>(out.size()))
        : static_cast<long long>(out.size());
    if (wanted <= 0 || (c.rows.present && row > c.rows.value)) {
        return;
    }
    const std::uint32_t rowNode = FindRow(row, false);
    if (rowNode == 0) {
        return;
    }
    std::vector<bool>& filled = c.filled;
    filled.assign(out.size(), false);
    long long left = wanted;
    c.cellRow = rowNode;
    c.cell = 0;
    c.cellColumn = -1;
    c.increasing = true;
    long long counter = 0;
    m_doc->SetPosition(XmlPosition{c.table, rowNode, 0});
    while (left > 0 && !(c.columns.present && counter >= c.columns.value) && m_doc->SeekChildElement("Cell")) {
        const long long index = ToInteger(m_doc->GetChildAttr("ss:Index"));
        if (index != 0) {
            counter = index - 1;
        }
        c.increasing = c.increasing && counter > c.cellColumn;
        c.cell = m_doc->Position().child;
        c.cellColumn = counter;
        if (counter >= 0 && counter < wanted && !filled[static_cast<std::size_t>(counter)]) {
            filled[static_cast<std::size_t>(counter)] = true;
            --left;
            CellData(c.cell, out[static_cast<std::size_t>(counter)]);
            m_doc->SetPosition(XmlPosition{c.table, rowNode, c.cell});
        }
        ++counter;
    }
}

bool CExcelBook::WriteRow(int row, std::span<const std::string_view> texts)
{
    if (!SheetCheck()) {
        return false;
    }
    const std::optional<bool> added = RunEdit([&] { return AddRow(row, texts); });
    if (!added.has_value()) {
        return false;
    }
    if (*added) {
        return true;
    }
    for (std::size_t column = 0; column < texts.size(); ++column) {
        if (!WriteCell(row, static_cast<int>(column), texts[column])) {
            return false;
        }
    }
    return true;
}

bool CExcelBook::AddRow(int row, std::span<const std::string_view> texts)
{
    const PositionGuard guard(*m_doc);
    if (row < 1 || texts.empty() || texts.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())
        || !FindTable()) {
        return false;
    }
    Cursor& c = *m_cursor;
    const auto columns = static_cast<long long>(texts.size());
    // The rows before it, as WriteCell would make them; then the row must be missing.
    if (row > 1 && FindRow(row - 1, true) == 0) {
        return false;
    }
    m_doc->SetPosition(XmlPosition{c.sheet, c.table, row > 1 ? c.row : 0});
    if (m_doc->SeekChildElement("Row")) {
        return false;
    }
    if (c.rows.present && row > c.rows.value) {
        m_doc->SetPosition(XmlPosition{c.sheet, c.table, 0});
        (void)m_doc->SetAttr("ss:ExpandedRowCount", row); // a valid name on the table just found
        c.rows.value = row;
    }
    if (c.columns.present && columns > c.columns.value) {
        m_doc->SetPosition(XmlPosition{c.sheet, c.table, 0});
        (void)m_doc->SetAttr("ss:ExpandedColumnCount", columns); // as above
        c.columns.value = columns;
    }
    m_doc->SetPosition(XmlPosition{c.sheet, c.table, row > 1 ? c.row : 0});
    if (!m_doc->AppendChildHoldingEach(
            "Row", {{"ss:AutoFitHeight", "0"}}, "Cell", "Data", {{"ss:Type", "String"}}, texts)) {
        return false;
    }
    c.rowNumber = row;
    c.row = m_doc->Position().child;
    c.cellRow = c.row;
    c.cell = m_doc->Index()[c.row].firstChild;
    while (m_doc->Index().Next(c.cell) != 0) {
        c.cell = m_doc->Index().Next(c.cell);
    }
    c.cellColumn = columns - 1;
    c.increasing = true;
    return true;
}

bool CExcelBook::WriteCell(int row, int column, std::string_view text)
{
    if (!SheetCheck()) {
        return false;
    }
    const PositionGuard guard(*m_doc);
    return RunEdit([&] { return FillCell(row, column, text); }).value_or(false);
}

bool CExcelBook::FillCell(int row, int column, std::string_view text)
{
    if (row < 1 || column < 0 || !FindTable()) {
        return false;
    }
    Cursor& c = *m_cursor;
    if (c.rows.present && row > c.rows.value) {
        m_doc->SetPosition(XmlPosition{c.sheet, c.table, 0});
        (void)m_doc->SetAttr("ss:ExpandedRowCount", row); // a valid name on the table just found
        c.rows.value = row;
    }
    const std::uint32_t rowNode = FindRow(row, true);
    if (c.columns.present && column >= c.columns.value) {
        m_doc->SetPosition(XmlPosition{c.sheet, c.table, 0});
        (void)m_doc->SetAttr("ss:ExpandedColumnCount", static_cast<long long>(column) + 1); // as above
        c.columns.value = static_cast<long long>(column) + 1;
    }
    CellFill fill{text};
    const std::uint32_t cell = FindCell(rowNode, column, true, &fill);
    if (cell == 0) {
        return false;
    }
    if (fill.done) {
        return true;
    }
    m_doc->SetPosition(XmlPosition{rowNode, cell, 0});
    return m_doc->AppendChildWithAttrs("Data", text, {{"ss:Type", "String"}});
}

bool CExcelBook::LinkCell(int row, int column, std::string_view target)
{
    if (!SheetCheck()) {
        return false;
    }
    const PositionGuard guard(*m_doc);
    return RunEdit([&] {
               const std::uint32_t cell = FindExistingCell(row, column);
               if (cell == 0) {
                   return false;
               }
               m_doc->SetPosition(XmlPosition{m_cursor->row, cell, 0});
               return m_doc->SetAttr("ss:HRef", target) && m_doc->SetAttr("ss:StyleID", kHyperlinkStyle);
           })
        .value_or(false);
}

} // namespace core
