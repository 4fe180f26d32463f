#pragma once

#include "db/CProgDb.h"
#include "edit/DetachLog.h"
#include "edit/EditChange.h"

#include <vector>

namespace core {

// The nodes one edit removed from the three lists, dependants included, kept for undo and redo.
class NodeRemoval
{
public:
    using SatPlace = CNodeList<CSatNode>::Place;
    using TpPlace = CNodeList<CTpNode>::Place;
    using ProgPlace = CNodeList<CProgNode>::Place;

    // Removes the satellites with their transponders and those transponders' programs.
    void RemoveSats(CProgDb& db, const std::vector<SatPlace>& sats);
    // Removes the transponders with their programs.
    void RemoveTps(CProgDb& db, const std::vector<TpPlace>& tps);
    void RemoveProgs(CProgDb& db, const std::vector<ProgPlace>& progs);

    // Puts every removed node back where it was.
    void Undo(CProgDb& db);
    // Removes the same nodes again.
    void Redo(CProgDb& db);

    // Rows for every list that lost nodes.
    EditChange Change() const;

private:
    DetachLog<CSatNode> m_sats;
    DetachLog<CTpNode> m_tps;
    DetachLog<CProgNode> m_progs;
};

} // namespace core
