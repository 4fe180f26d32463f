#include "excel/CAccessExcelIn.h"

#include "common/UiHooks.h"
#include "db/CProgDb.h"
#include "db/LnbFreqTable.h"
#include "excel/ExcelLayout.h"
#include "excel/ExcelNameCodec.h"
#include "excel/ExcelNumber.h"

#include <memory>
#include <span>
#include <string>

namespace core {

namespace {

using namespace ExcelLayout;

constexpr std::size_t kProgNameBytes = 41; // bytes 20-60; byte 61 stays the terminator

// The "select" letter's value, or -1 for a letter that skips the row. Upper case only.
int SelectOfLetter(char letter)
{
    switch (letter) {
    case 'S':
        return kSelectSatOnly;
    case 'T':
        return kSelectSatAndTps;
    case 'A':
    case 'Y':
        return kSelectAll;
    default:
        return -1;
    }
}

// Frequency, Polar and SymbolRate: the bits SameTransponder compares.
constexpr std::uint32_t kComparedTpBits = 0x7FFFFFFFu;

std::uint64_t TpIndexKey(std::int32_t satId, std::uint32_t tpWord)
{
    return (std::uint64_t{static_cast<std::uint32_t>(satId)} << 32) | (tpWord & kComparedTpBits);
}

} // namespace

bool CAccessExcelIn::Import(const std::string& path, CProgDb& db)
{
    m_db = &db;
    m_sheetOfSat.clear();
    m_tpIndex.clear();
    if (!m_book.Open(path) || !ReadSatellitesSheet() || !ReadProgramSheets()) {
        return Fail();
    }
    m_book.Close();
    m_db = nullptr;
    m_tpIndex.clear();
    return true;
}

bool CAccessExcelIn::Fail()
{
    // A failed import never leaves a partial database behind.
    m_book.Close();
    m_db->Clear();
    m_db = nullptr;
    m_tpIndex.clear();
    return false;
}

std::uint32_t CAccessExcelIn::ReadNumber(int row, int column)
{
    std::string text;
    (void)m_book.ReadCell(row, column, text); // an absent or empty cell reads as 0
    return ParseExcelNumber(text);
}

bool CAccessExcelIn::ParseName(std::string_view text, std::uint8_t* buffer, std::size_t size)
{
    return ExcelNameCodec::Parse(text, buffer, size);
}

void CAccessExcelIn::ShowReadError(int row, int column)
{
    const std::string text = "Reading Excel Error!\nRow=" + std::to_string(row) + ", Column=" + std::to_string(column);
    UiHooks().ShowMessage(text, "Read Error", UiIcon::Error);
}

bool CAccessExcelIn::ReadText(int row, int column, std::string& text)
{
    return m_book.ReadCell(row, column, text);
}

bool CAccessExcelIn::ReadSatellitesSheet()
{
    if (!m_book.OpenSheet(kSatellitesSheet)) {
        return false;
    }
    std::string select;
    for (int row = kFirstDataRow; ReadText(row, SatCol::Select, select); ++row) {
        const int value = SelectOfLetter(select.front());
        if (value >= 0 && !ReadSatelliteRow(row, value)) {
            return false;
        }
    }
    return true; // an empty or absent "select" cell ends the sheet
}

bool CAccessExcelIn::ReadSatelliteRow(int row, std::int32_t select)
{
    std::string sheetName;
    if (!ReadText(row, SatCol::ProgSheet, sheetName)) {
        return true; // a row without a program sheet is skipped
    }
    auto sat = std::make_unique<CSatNode>(select);
    std::string text;
    if (!ReadText(row, SatCol::Name, text)) {
        return false;
    }
    // A name that does not decode keeps what was decoded before the bad group: the row still counts.
    (void)ParseName(text, sat->Record().Bytes().data(), SatField::kNameSize);
    if (!ReadText(row, SatCol::Longitude, text)) {
        return false;
    }
    sat->SetLongitude(ParseExcelNumber(text));
    std::uint32_t lnb1 = 0;
    std::uint32_t lnb2 = 0;
    if (!ReadLnbIndex(row, SatCol::LocalFre1, lnb1) || !ReadLnbIndex(row, SatCol::LocalFre2, lnb2)) {
        return false;
    }
    sat->SetLocalFre1(lnb1);
    sat->SetLocalFre2(lnb2);
    sat->SetSwitch12V(ReadNumber(row, SatCol::Switch12V));
    sat->SetTone22K(ReadNumber(row, SatCol::Tone22K));
    sat->SetDiSEqC(ReadNumber(row, SatCol::DiSEqC));
    sat->SetDiSEqC12(ReadNumber(row, SatCol::DiSEqC12));
    sat->SetDirection(ReadNumber(row, SatCol::Direction));
    sat->SetLnbType(ReadNumber(row, SatCol::LnbType));
    sat->SetDisEqCMotor(ReadNumber(row, SatCol::DisEqCMotor));
    sat->SetTunerSel(ReadNumber(row, SatCol::TunerSel));
    sat->SetVideoType(ReadNumber(row, SatCol::VideoType));
    sat->SetAudioType(ReadNumber(row, SatCol::AudioType));

    const std::int32_t id = m_db->Sats().Add(std::move(sat));
    m_sheetOfSat[id] = std::move(sheetName);
    return true;
}

bool CAccessExcelIn::ReadLnbIndex(int row, int column, std::uint32_t& index)
{
    std::string text;
    if (!ReadText(row, column, text)) {
        return false;
    }
    const int found = LnbMHzToIndex(ParseExcelNumber(text));
    if (found < 0) {
        ShowReadError(row, column);
        return false;
    }
    index = static_cast<std::uint32_t>(found);
    return true;
}

bool CAccessExcelIn::ReadProgramSheets()
{
    // Transponders already in the list are found first, as a search of the list would.
    for (const CTpNode& tp : m_db->Tps()) {
        m_tpIndex.try_emplace(TpIndexKey(tp.ParentId(), tp.TpRecord()), tp.Id());
    }
    for (const CSatNode& sat : m_db->Sats()) {
        if (sat.Select() != kSelectSatOnly && !ReadProgramSheet(sat)) {
            return false;
        }
    }
    return true;
}

bool CAccessExcelIn::ReadProgramSheet(const CSatNode& sat)
{
    const auto sheet = m_sheetOfSat.find(sat.Id());
    if (!m_book.OpenSheet(sheet == m_sheetOfSat.end() ? std::string() : sheet->second)) {
        return false;
    }
    for (int row = kFirstDataRow; ReadProgramRow(row, sat) == RowOutcome::Next; ++row) { }
    return true;
}

CAccessExcelIn::RowOutcome CAccessExcelIn::ReadProgramRow(int row, const CSatNode& sat)
{
    // The whole row in one walk, left to right; reading changes nothing, so reading cells that end
    // up unused changes no outcome.
    m_rowTexts.resize(kProgHeaders.size());
    const std::span<std::string> texts = m_rowTexts;
    m_book.ReadRow(row, texts);
    const std::string& name = texts[ProgCol::ProgName];
    const std::string& fre = texts[ProgCol::Fre];
    const std::string& symbolRate = texts[ProgCol::SymbolRate];
    const std::string& polar = texts[ProgCol::Polar];
    if (fre.empty() || symbolRate.empty() || polar.empty()) {
        return RowOutcome::EndOfSheet;
    }
    CTpNode key;
    key.SetFrequency(ParseExcelNumber(fre));
    key.SetSymbolRate(ParseExcelNumber(symbolRate));
    key.SetPolar(polar == "H" || polar == "0" ? 0 : 1);
    const std::int32_t tpId = FindOrAddTransponder(sat.Id(), key.TpRecord());

    // A "T" satellite brings its transponders only, so its program rows are not even built.
    if (name.empty() || sat.Select() == kSelectSatAndTps) {
        return RowOutcome::Next;
    }
    auto prog = std::make_unique<CProgNode>();
    (void)ParseName(name, prog->Record().Bytes().data() + ProgField::kNameOffset, kProgNameBytes); // as above
    if (!ReadProgramFields(texts, *prog)) {
        return RowOutcome::Next; // dropped; the rows after it are still read
    }
    prog->SetSatRef(static_cast<std::uint32_t>(sat.Id()));
    prog->SetTpRef(static_cast<std::uint32_t>(tpId));
    prog->SetParentId(tpId);
    m_db->Progs().Add(std::move(prog));
    return RowOutcome::Next;
}

bool CAccessExcelIn::ReadProgramFields(std::span<const std::string> texts, CProgNode& prog)
{
    // An absent or empty cell reads as 0, save VPID and APID, which must be there.
    const auto number = [texts](int column) { return ParseExcelNumber(texts[static_cast<std::size_t>(column)]); };
    if (texts[ProgCol::VPID].empty() || texts[ProgCol::APID].empty()) {
        return false;
    }
    prog.SetVPID(number(ProgCol::VPID));
    prog.SetAPID(number(ProgCol::APID));
    prog.SetPCRPID(number(ProgCol::PCRPID));
    prog.SetScramble(number(ProgCol::Scramble));
    prog.SetHide(number(ProgCol::Hide));
    prog.SetTrack(number(ProgCol::Track));
    prog.SetServiceId(number(ProgCol::ServiceId));
    prog.SetPmtPid(number(ProgCol::PmtPid));
    prog.SetAvType(number(ProgCol::AvType));
    prog.SetLock(number(ProgCol::Lock));
    prog.SetSkip(number(ProgCol::Skip));
    prog.SetFavType(number(ProgCol::FavType));
    prog.SetTunerSel(number(ProgCol::TunerSel));
    prog.SetVideoType(number(ProgCol::VideoType));
    prog.SetAudioType(number(ProgCol::AudioType));
    return true;
}

std::int32_t CAccessExcelIn::FindOrAddTransponder(std::int32_t satId, std::uint32_t key)
{
    const auto [entry, added] = m_tpIndex.try_emplace(TpIndexKey(satId, key), InvalidId);
    if (added) {
        auto tp = std::make_unique<CTpNode>(InvalidId, satId);
        tp->SetTpRecord(key);
        entry->second = m_db->Tps().Add(std::move(tp));
    }
    return entry->second;
}

} // namespace core
