#include "db/CProgDb.h"

#include <unordered_set>

namespace core {

CProgDb::~CProgDb()
{
    // Programs first, then transponders, then satellites.
    m_progs.Clear();
    m_tps.Clear();
    m_sats.Clear();
}

void CProgDb::Clear()
{
    m_sats.Clear();
    m_tps.Clear();
    m_progs.Clear();
}

bool CProgDb::IsEmpty() const
{
    return m_sats.IsEmpty() && m_tps.IsEmpty() && m_progs.IsEmpty();
}

void CProgDb::RemoveSatelliteDependants(const std::vector<std::int32_t>& satIds)
{
    const std::unordered_set<std::int32_t> sats(satIds.begin(), satIds.end());
    std::unordered_set<std::int32_t> tps;
    for (const CTpNode& tp : m_tps) {
        if (sats.count(tp.ParentId()) != 0) {
            tps.insert(tp.Id());
        }
    }
    m_progs.RemoveIf([&tps](const CProgNode& prog) { return tps.count(prog.ParentId()) != 0; });
    m_tps.RemoveIf([&sats](const CTpNode& tp) { return sats.count(tp.ParentId()) != 0; });
}

void CProgDb::RemoveTransponderDependants(const std::vector<std::int32_t>& tpIds)
{
    const std::unordered_set<std::int32_t> tps(tpIds.begin(), tpIds.end());
    m_progs.RemoveIf([&tps](const CProgNode& prog) { return tps.count(prog.ParentId()) != 0; });
}

} // namespace core
