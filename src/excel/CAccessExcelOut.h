#pragma once

#include "access/CAccessOut.h"
#include "excel/CExcelBook.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace core {

class CSatNode;
class CTpNode;
class CProgNode;

// Writes the whole database as one workbook: the sheet "Satellites" with a row per satellite
// (its name cell a hyperlink to the satellite's program sheet), then one program sheet per
// satellite holding its transponders and then its programs. Every cell is text.
class CAccessExcelOut : public CAccessOut
{
public:
    CAccessExcelOut() = default;
    ~CAccessExcelOut() override = default;
    CAccessExcelOut(const CAccessExcelOut&) = delete;
    CAccessExcelOut& operator=(const CAccessExcelOut&) = delete;

    // Writes db to path, replacing any file there; the workbook is closed on every path.
    [[nodiscard]] bool Export(const std::string& path, CProgDb& db) override;

    // Called while rows are built with the share of the rows done, 0 to 100, each time the share
    // grows. Returning false stops the export at once: it then
    // fails with nothing pending and writes nothing.
    using ProgressHook = std::function<bool(int percent)>;
    void SetProgressHook(ProgressHook hook) { m_progress = std::move(hook); }

    // A program-sheet name for a satellite name: its first 16 bytes with every byte that is not
    // an ASCII letter or digit turned into "_" (a run of "_" collapses to one), made unique with
    // a decimal counter, without regard to case. Neither the satellites sheet's own name nor an
    // empty name is ever handed out.
    std::string MakeSheetName(std::string_view satName);

private:
    // The rows of one program sheet, gathered in one pass over the lists.
    struct SheetRows
    {
        std::vector<const CTpNode*> tps;
        std::vector<std::pair<const CProgNode*, const CTpNode*>> progs;
    };

    [[nodiscard]] bool WriteSatellitesSheet();
    [[nodiscard]] bool WriteSatelliteRow(const CSatNode& sat, int row);
    [[nodiscard]] bool WriteProgramSheets();
    [[nodiscard]] bool WriteProgramSheet(const std::string& sheetName, const SheetRows& rows);
    [[nodiscard]] bool WriteHeader(const std::string_view* headers, std::size_t count);
    [[nodiscard]] bool WriteTpColumns(int row, const CTpNode& tp);
    [[nodiscard]] bool WriteProgRow(int row, const CProgNode& prog, const CTpNode& tp);
    // Writes the cells of one row in order; false at the first that fails.
    [[nodiscard]] bool WriteCells(int row, std::initializer_list<std::pair<int, std::string>> cells);
    void GatherSheetRows();
    bool IsSheetNameUsed(const std::string& name) const;
    // One more row built; false when the progress hook asks to stop.
    [[nodiscard]] bool RowDone();

    CExcelBook m_book;
    CProgDb* m_db = nullptr;
    // Program-sheet name per satellite, in satellite-list order. Kept per row rather than in a
    // map by id so that two satellites sharing an id (flash images can hold such) still get one
    // sheet each, and every sheet the "ProgSheet" column names is written.
    std::vector<std::pair<std::int32_t, std::string>> m_sheetOfSat;
    std::vector<std::string> m_usedSheetNames;
    std::unordered_set<std::string> m_usedSheetNameSet; // the same names in lower case, for the uniqueness test
    std::unordered_map<std::int32_t, SheetRows> m_rowsOfSat;
    ProgressHook m_progress;
    std::size_t m_rowsDone = 0;
    std::size_t m_rowsTotal = 0;
    int m_percentShown = -1;
};

} // namespace core
