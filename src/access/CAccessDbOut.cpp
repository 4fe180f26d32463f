#include "access/CAccessDbOut.h"

#include "access/DbFileLayout.h"
#include "common/AtomicFile.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"

#include <unordered_map>

namespace core {

namespace {

void AppendLe32(std::string& bytes, std::uint32_t value)
{
    std::uint8_t word[4];
    StoreLe32(word, value);
    bytes.append(reinterpret_cast<const char*>(word), sizeof word);
}

template <std::size_t Size>
void AppendRecord(std::string& bytes, const PackedRecord<Size>& record)
{
    bytes.append(reinterpret_cast<const char*>(record.Bytes().data()), Size);
}

// The transponders of each satellite id, in transponder-list order.
std::unordered_map<std::int32_t, std::vector<CTpNode*>> TranspondersByParent(CProgDb& db)
{
    std::unordered_map<std::int32_t, std::vector<CTpNode*>> groups;
    for (CTpNode& tp : db.Tps()) {
        groups[tp.ParentId()].push_back(&tp);
    }
    return groups;
}

const std::vector<CTpNode*>& GroupOf(const std::unordered_map<std::int32_t, std::vector<CTpNode*>>& groups,
                                     std::int32_t satId)
{
    static const std::vector<CTpNode*> none;
    const auto it = groups.find(satId);
    return it == groups.end() ? none : it->second;
}

} // namespace

bool CAccessDbOut::Export(const std::string& path, CProgDb& db)
{
    std::string bytes;
    if (!BuildBytes(db, bytes)) {
        return false;
    }
    AtomicFile file(path);
    if (!file.Open()) {
        SetPendingError("Open file failed!");
        return false;
    }
    if (!file.Write(bytes) || !file.Commit()) {
        SetPendingError("Write file failed!");
        return false;
    }
    return true;
}

bool CAccessDbOut::BuildBytes(CProgDb& db, std::string& bytes)
{
    if (!CheckLimits(db)) {
        return false;
    }
    bytes.clear();
    bytes.reserve(DbFile::ExpectedSize(db.Sats().Count(), db.Tps().Count(), db.Progs().Count()));
    bytes.append(DbFile::kStartMagic, sizeof DbFile::kStartMagic);
    bytes.append(12, '\0'); // the counts, filled in once known
    WriteSatellites(db, bytes);
    WriteTransponders(db, bytes);
    WritePrograms(db, bytes);
    bytes.append(DbFile::kEndMagic, sizeof DbFile::kEndMagic);
    auto* header = reinterpret_cast<std::uint8_t*>(bytes.data());
    StoreLe32(header + 4, m_nSat);
    StoreLe32(header + 8, m_nTp);
    StoreLe32(header + 12, m_nProg);
    return true;
}

bool CAccessDbOut::CheckLimits(const CProgDb& db)
{
    if (db.Sats().Count() > DbFile::kMaxSats) {
        SetPendingError("Too many satellites for a default database (at most 8192)!");
        return false;
    }
    std::unordered_map<std::int32_t, std::uint64_t> perSat;
    for (const CTpNode& tp : db.Tps()) {
        ++perSat[tp.ParentId()];
    }
    std::uint64_t written = 0;
    for (const CSatNode& sat : db.Sats()) {
        const auto it = perSat.find(sat.Id());
        const std::uint64_t count = it == perSat.end() ? 0 : it->second;
        if (count > DbFile::kMaxTpsPerSat) {
            SetPendingError("Too many transponders on one satellite for a default database (at most 8191)!");
            return false;
        }
        written += count;
    }
    if (written > DbFile::kMaxTps) {
        SetPendingError("Too many transponders for a default database (at most 8192)!");
        return false;
    }
    return true;
}

void CAccessDbOut::WriteSatellites(CProgDb& db, std::string& bytes)
{
    const auto groups = TranspondersByParent(db);
    m_nSat = db.Sats().Count();
    m_tpTable.clear();
    std::uint32_t running = 0;
    std::uint32_t position = 0;
    for (CSatNode& sat : db.Sats()) {
        const auto count = static_cast<std::uint32_t>(GroupOf(groups, sat.Id()).size());
        sat.SetFirstTpIndex(running);
        sat.SetTpCount(count);
        for (std::uint32_t j = 0; j < count; ++j) {
            m_tpTable.emplace_back(InvalidId, position);
        }
        SatRecord record;
        CopySatRecord(sat.Record(), record);
        AppendRecord(bytes, record);
        running += count;
        ++position;
    }
}

void CAccessDbOut::WriteTransponders(CProgDb& db, std::string& bytes)
{
    const auto groups = TranspondersByParent(db);
    std::uint32_t filled = 0;
    for (const CSatNode& sat : db.Sats()) {
        for (const CTpNode* tp : GroupOf(groups, sat.Id())) {
            AppendLe32(bytes, tp->TpRecord());
            m_tpTable[filled].first = tp->Id();
            ++filled;
        }
    }
    m_nTp = filled;
}

void CAccessDbOut::WritePrograms(CProgDb& db, std::string& bytes)
{
    // First table entry for each transponder id, as a front-to-back search would find it.
    std::unordered_map<std::int32_t, std::uint32_t> firstEntry;
    for (std::uint32_t i = 0; i < m_tpTable.size(); ++i) {
        firstEntry.emplace(m_tpTable[i].first, i);
    }
    m_nProg = 0;
    for (CProgNode& prog : db.Progs()) {
        const auto it = firstEntry.find(prog.ParentId());
        if (it == firstEntry.end()) {
            continue; // its transponder is not in the file: a stale reference would point elsewhere
        }
        prog.SetTpRef(it->second);
        prog.SetSatRef(m_tpTable[it->second].second);
        ProgRecord record;
        CopyProgRecord(prog.Record(), record);
        AppendRecord(bytes, record);
        ++m_nProg;
    }
}

} // namespace core
