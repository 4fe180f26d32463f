#pragma once

#include "access/CAccessIn.h"
#include "excel/CExcelBook.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace core {

class CSatNode;
class CProgNode;

// Fills the database from a workbook in the export's layout: the "Satellites" sheet, and for
// each satellite row the program sheet its "ProgSheet" cell names. The first letter of "select"
// decides per satellite: "S" the satellite alone, "T" with its transponders, "A"/"Y" everything.
// A failed import leaves the database empty.
class CAccessExcelIn : public CAccessIn
{
public:
    CAccessExcelIn() = default;
    ~CAccessExcelIn() override = default;
    CAccessExcelIn(const CAccessExcelIn&) = delete;
    CAccessExcelIn& operator=(const CAccessExcelIn&) = delete;

    [[nodiscard]] bool Import(const std::string& path, CProgDb& db) override;

    // A cell of the current sheet as a decimal number: leading white space, an optional sign,
    // then digits up to the first non-digit; 0 for an empty or absent cell; "-1" is 4294967295.
    std::uint32_t ReadNumber(int row, int column);

    // Stores a name cell's text into a fixed name field of size bytes. The escaped byte form
    // ("\xHH" groups between double quotes) is decoded, at most size bytes, nothing else written;
    // a broken group stops it with false. Any other text is copied, zero-filled to size. An empty
    // text returns false and leaves the buffer as it was.
    [[nodiscard]] static bool ParseName(std::string_view text, std::uint8_t* buffer, std::size_t size);

    // The "Read Error" box for a cell: row from 1, column from 0.
    static void ShowReadError(int row, int column);

private:
    enum class RowOutcome { Next, EndOfSheet };

    [[nodiscard]] bool Fail();
    [[nodiscard]] bool ReadSatellitesSheet();
    [[nodiscard]] bool ReadSatelliteRow(int row, std::int32_t select);
    [[nodiscard]] bool ReadLnbIndex(int row, int column, std::uint32_t& index);
    [[nodiscard]] bool ReadProgramSheets();
    [[nodiscard]] bool ReadProgramSheet(const CSatNode& sat);
    [[nodiscard]] RowOutcome ReadProgramRow(int row, const CSatNode& sat);
    std::int32_t FindOrAddTransponder(std::int32_t satId, std::uint32_t key);
    [[nodiscard]] bool ReadProgramFields(std::span<const std::string> texts, CProgNode& prog);
    [[nodiscard]] bool ReadText(int row, int column, std::string& text);

    CExcelBook m_book;
    CProgDb* m_db = nullptr;
    std::map<std::int32_t, std::string> m_sheetOfSat;
    // The first transponder, in list order, for each (satellite id, compared bits of the word):
    // the same answer as a search of the list, without walking it for every row.
    std::unordered_map<std::uint64_t, std::int32_t> m_tpIndex;
    // The texts of the program row being read, kept from row to row so that their buffers are reused.
    std::vector<std::string> m_rowTexts;
};

} // namespace core
