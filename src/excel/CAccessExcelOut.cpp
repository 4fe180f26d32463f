#include "excel/CAccessExcelOut.h"

#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "db/LnbFreqTable.h"
#include "excel/ExcelLayout.h"
#include "excel/ExcelNameCodec.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <span>

namespace core {

namespace {

using namespace ExcelLayout;

constexpr std::size_t kSheetNameSourceBytes = 16;

// Numbers are written by a signed conversion: a value with its top bit set gets a leading "-".
std::string Number(std::uint32_t value)
{
    return std::to_string(static_cast<std::int32_t>(value));
}

const char* SelectLetter(std::int32_t select)
{
    switch (select) {
    case kSelectSatOnly:
        return "S";
    case kSelectSatAndTps:
        return "T";
    default:
        return "A";
    }
}

// Closes the book at scope end, also when a shortage of memory ends the export; the file itself is
// written only by the atomic writer, which leaves nothing behind when it fails.
class BookCloser
{
public:
    explicit BookCloser(CExcelBook& book)
        : m_book(book)
    { }
    ~BookCloser() { m_book.Close(); }
    BookCloser(const BookCloser&) = delete;
    BookCloser& operator=(const BookCloser&) = delete;

private:
    CExcelBook& m_book;
};

// The message for a save that failed with the system's error: the folder would not take the file,
// or the disk took less than the whole workbook (full, or the file-size limit reached).
const char* SaveFailureText(int error)
{
    const bool notCreated = error == ENOENT || error == ENOTDIR || error == EACCES || error == EPERM || error == EROFS
        || error == EISDIR || error == ENAMETOOLONG;
    return notCreated ? "Create File Failed!" : "Write file failed!";
}

bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Spreadsheet programs take sheet names without regard to case and rename a second "abc" beside
// an "ABC", which would leave the "ProgSheet" cell naming no sheet; uniqueness is judged so too.
std::string FoldCase(std::string name)
{
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return name;
}

} // namespace

bool CAccessExcelOut::Export(const std::string& path, CProgDb& db)
{
    m_db = &db;
    m_sheetOfSat.clear();
    m_usedSheetNames.clear();
    m_usedSheetNameSet.clear();
    m_rowsOfSat.clear();
    m_rowsDone = 0;
    m_rowsTotal = db.Sats().Count() + db.Tps().Count() + db.Progs().Count();
    m_percentShown = -1;

    // The workbook is built in memory and written once, through a temporary file in the target's
    // folder renamed over it, so a failed export leaves the user's previous file as it was.
    bool ok = false;
    {
        const BookCloser closer(m_book);
        ok = m_book.CreateInMemory(path) && WriteSatellitesSheet() && WriteProgramSheets();
        errno = 0;
        if (ok && !m_book.Save()) {
            SetPendingError(SaveFailureText(errno));
            ok = false;
        }
    }

    m_rowsOfSat.clear();
    m_db = nullptr;
    return ok;
}

std::string CAccessExcelOut::MakeSheetName(std::string_view satName)
{
    const std::string_view source = satName.substr(0, std::min(satName.size(), kSheetNameSourceBytes));
    std::string candidate;
    for (const char c : source) {
        if (c == '_' && !candidate.empty() && candidate.back() == '_') {
            continue;
        }
        candidate.push_back(IsAsciiAlnum(c) ? c : '_');
    }

    std::string name = candidate;
    for (int counter = 1; IsSheetNameUsed(name); ++counter) {
        name = candidate + std::to_string(counter);
    }
    m_usedSheetNames.push_back(name);
    m_usedSheetNameSet.insert(FoldCase(name));
    return name;
}

bool CAccessExcelOut::IsSheetNameUsed(const std::string& name) const
{
    // The satellites sheet's own name is reserved: a program sheet of that name would be found
    // as the satellites sheet and written over it. An empty name is reserved as well: an empty
    // "ProgSheet" cell makes the import skip the satellite.
    const std::string folded = FoldCase(name);
    return name.empty() || folded == FoldCase(std::string(kSatellitesSheet)) || m_usedSheetNameSet.count(folded) != 0;
}

bool CAccessExcelOut::RowDone()
{
    if (!m_progress) {
        return true;
    }
    ++m_rowsDone;
    const std::size_t total = std::max(m_rowsTotal, m_rowsDone);
    const int percent = static_cast<int>(m_rowsDone * 100 / total);
    if (percent == m_percentShown) {
        return true;
    }
    m_percentShown = percent;
    return m_progress(percent);
}

bool CAccessExcelOut::WriteHeader(const std::string_view* headers, std::size_t count)
{
    return m_book.WriteRow(kHeaderRow, std::span(headers, count));
}

bool CAccessExcelOut::WriteCells(int row, std::initializer_list<std::pair<int, std::string>> cells)
{
    // A cell that cannot be written (the workbook layer has said why) fails the export rather than
    // leaving a hole in the workbook.
    return std::all_of(cells.begin(), cells.end(), [this, row](const std::pair<int, std::string>& cell) {
        return m_book.WriteCell(row, cell.first, cell.second);
    });
}

bool CAccessExcelOut::WriteSatellitesSheet()
{
    if (!m_book.OpenSheet(kSatellitesSheet) || !WriteHeader(kSatHeaders.data(), kSatHeaders.size())) {
        return false;
    }
    int row = kFirstDataRow;
    for (const CSatNode& sat : m_db->Sats()) {
        if (!WriteSatelliteRow(sat, row) || !RowDone()) {
            return false;
        }
        ++row;
    }
    return true;
}

bool CAccessExcelOut::WriteSatelliteRow(const CSatNode& sat, int row)
{
    const bool written = WriteCells(row,
                                    {{SatCol::Select, SelectLetter(sat.Select())},
                                     {SatCol::Name, ExcelNameCodec::Encode(sat.Name())},
                                     {SatCol::Longitude, Number(sat.Longitude())},
                                     {SatCol::LocalFre1, Number(LnbIndexToMHz(sat.LocalFre1()))},
                                     {SatCol::LocalFre2, Number(LnbIndexToMHz(sat.LocalFre2()))},
                                     {SatCol::Switch12V, Number(sat.Switch12V())},
                                     {SatCol::Tone22K, Number(sat.Tone22K())},
                                     {SatCol::DiSEqC, Number(sat.DiSEqC())},
                                     {SatCol::DiSEqC12, Number(sat.DiSEqC12())},
                                     {SatCol::Direction, Number(sat.Direction())},
                                     {SatCol::LnbType, Number(sat.LnbType())},
                                     {SatCol::DisEqCMotor, Number(sat.DisEqCMotor())},
                                     {SatCol::TunerSel, Number(sat.TunerSel())},
                                     {SatCol::VideoType, Number(sat.VideoType())},
                                     {SatCol::AudioType, Number(sat.AudioType())}});
    if (!written) {
        return false;
    }

    // The link comes before the sheet-name cell; that cell was created empty with column 3.
    std::string sheetName = MakeSheetName(sat.Name());
    if (!m_book.LinkCell(row, SatCol::Name, "#" + sheetName + "!A1")
        || !m_book.WriteCell(row, SatCol::ProgSheet, sheetName)) {
        return false;
    }
    m_sheetOfSat.emplace_back(sat.Id(), std::move(sheetName));
    return true;
}

void CAccessExcelOut::GatherSheetRows()
{
    for (const CSatNode& sat : m_db->Sats()) {
        m_rowsOfSat.try_emplace(sat.Id());
    }
    // For a program, the first transponder in list order that has the program's ParentId as id
    // and the satellite as parent; ids are unique per list, but flash images may break that.
    std::unordered_map<std::int32_t, std::vector<const CTpNode*>> firstTpsOfId;
    for (const CTpNode& tp : m_db->Tps()) {
        const auto sheet = m_rowsOfSat.find(tp.ParentId());
        if (sheet == m_rowsOfSat.end()) {
            continue;
        }
        sheet->second.tps.push_back(&tp);
        auto& candidates = firstTpsOfId[tp.Id()];
        const bool satSeen = std::any_of(candidates.begin(), candidates.end(), [&tp](const CTpNode* other) {
            return other->ParentId() == tp.ParentId();
        });
        if (!satSeen) {
            candidates.push_back(&tp);
        }
    }
    for (const CProgNode& prog : m_db->Progs()) {
        const auto candidates = firstTpsOfId.find(prog.ParentId());
        if (candidates == firstTpsOfId.end()) {
            continue; // no transponder under any satellite: the program is not written
        }
        for (const CTpNode* tp : candidates->second) {
            m_rowsOfSat[tp->ParentId()].progs.emplace_back(&prog, tp);
        }
    }
}

bool CAccessExcelOut::WriteProgramSheets()
{
    GatherSheetRows();
    for (const auto& [satId, sheetName] : m_sheetOfSat) {
        if (!WriteProgramSheet(sheetName, m_rowsOfSat[satId])) {
            return false;
        }
    }
    return true;
}

bool CAccessExcelOut::WriteProgramSheet(const std::string& sheetName, const SheetRows& rows)
{
    if (!m_book.CreateSheet(sheetName) || !WriteHeader(kProgHeaders.data(), kProgHeaders.size())) {
        return false;
    }
    int row = kFirstDataRow;
    for (const CTpNode* tp : rows.tps) {
        if (!WriteTpColumns(row++, *tp) || !RowDone()) {
            return false;
        }
    }
    for (const auto& [prog, tp] : rows.progs) {
        if (!WriteProgRow(row++, *prog, *tp) || !RowDone()) {
            return false;
        }
    }
    return true;
}

bool CAccessExcelOut::WriteTpColumns(int row, const CTpNode& tp)
{
    return WriteCells(row,
                      {{ProgCol::Fre, Number(tp.Frequency())},
                       {ProgCol::SymbolRate, Number(tp.SymbolRate())},
                       {ProgCol::Polar, PolarText(tp.Polar())}});
}

bool CAccessExcelOut::WriteProgRow(int row, const CProgNode& prog, const CTpNode& tp)
{
    // Columns 0 to 18 in order, written as one row.
    const std::array<std::string, kProgHeaders.size()> texts{ExcelNameCodec::Encode(prog.ProgName()),
                                                             Number(tp.Frequency()),
                                                             Number(tp.SymbolRate()),
                                                             PolarText(tp.Polar()),
                                                             Number(prog.VPID()),
                                                             Number(prog.APID()),
                                                             Number(prog.PCRPID()),
                                                             Number(prog.Scramble()),
                                                             Number(prog.Hide()),
                                                             Number(prog.Track()),
                                                             Number(prog.ServiceId()),
                                                             Number(prog.PmtPid()),
                                                             Number(prog.AvType()),
                                                             Number(prog.Lock()),
                                                             Number(prog.Skip()),
                                                             Number(prog.FavType()),
                                                             Number(prog.TunerSel()),
                                                             Number(prog.VideoType()),
                                                             Number(prog.AudioType())};
    static_assert(ProgCol::ProgName == 0 && ProgCol::Fre == 1 && ProgCol::SymbolRate == 2 && ProgCol::Polar == 3
                  && ProgCol::VPID == 4 && ProgCol::APID == 5 && ProgCol::PCRPID == 6 && ProgCol::Scramble == 7
                  && ProgCol::Hide == 8 && ProgCol::Track == 9 && ProgCol::ServiceId == 10 && ProgCol::PmtPid == 11
                  && ProgCol::AvType == 12 && ProgCol::Lock == 13 && ProgCol::Skip == 14 && ProgCol::FavType == 15
                  && ProgCol::TunerSel == 16 && ProgCol::VideoType == 17 && ProgCol::AudioType == 18);
    std::array<std::string_view, kProgHeaders.size()> views;
    std::copy(texts.begin(), texts.end(), views.begin());
    return m_book.WriteRow(row, views);
}

} // namespace core
