#pragma once

#include "db/CNodeList.h"
#include "db/CProgNode.h"
#include "db/CSatNode.h"
#include "db/CTpNode.h"

#include <vector>

namespace core {

// The channel database: satellites, transponders and programs, each an ordered list of owned nodes.
// A transponder's ParentId is its satellite's id, a program's is its transponder's id.
class CProgDb
{
public:
    CProgDb() = default;
    ~CProgDb();
    CProgDb(const CProgDb&) = delete;
    CProgDb& operator=(const CProgDb&) = delete;

    CNodeList<CSatNode>& Sats() { return m_sats; }
    CNodeList<CTpNode>& Tps() { return m_tps; }
    CNodeList<CProgNode>& Progs() { return m_progs; }
    const CNodeList<CSatNode>& Sats() const { return m_sats; }
    const CNodeList<CTpNode>& Tps() const { return m_tps; }
    const CNodeList<CProgNode>& Progs() const { return m_progs; }

    // Clears the satellite, transponder and program lists, in this order.
    void Clear();
    // True when all three lists are empty.
    bool IsEmpty() const;

    // After satellites were deleted: removes the programs of their transponders, then the
    // transponders. One walk over each list, whatever the number of satellites.
    void RemoveSatelliteDependants(const std::vector<std::int32_t>& satIds);
    // After transponders were deleted: removes their programs in one walk.
    void RemoveTransponderDependants(const std::vector<std::int32_t>& tpIds);

private:
    CNodeList<CSatNode> m_sats;
    CNodeList<CTpNode> m_tps;
    CNodeList<CProgNode> m_progs;
};

} // namespace core
