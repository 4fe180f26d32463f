#include "edit/NodeRemoval.h"

#include <unordered_map>
#include <unordered_set>

namespace core {

namespace {

// The ids that no node of the list carries once the removed nodes are gone. A flash reader may
// give two nodes one id: while one of them stays, the children naming that id stay with it.
template <class TNode>
std::unordered_set<std::int32_t> IdsGone(const CNodeList<TNode>& list,
                                         const std::vector<typename CNodeList<TNode>::Place>& removed)
{
    std::unordered_map<std::int32_t, std::uint32_t> counts;
    for (const auto place : removed) {
        ++counts[(*place)->Id()];
    }
    std::unordered_set<std::int32_t> gone;
    for (const auto& [id, count] : counts) {
        if (count == list.CountWithId(id)) {
            gone.insert(id);
        }
    }
    return gone;
}

// The places of the nodes whose parent is among the ids, in list order.
template <class TNode>
std::vector<typename CNodeList<TNode>::Place> Children(CNodeList<TNode>& list,
                                                       const std::unordered_set<std::int32_t>& parentIds)
{
    std::vector<typename CNodeList<TNode>::Place> children;
    if (parentIds.empty()) {
        return children;
    }
    for (const auto place : list.Places()) {
        if (parentIds.count((*place)->ParentId()) != 0) {
            children.push_back(place);
        }
    }
    return children;
}

} // namespace

void NodeRemoval::RemoveSats(CProgDb& db, const std::vector<SatPlace>& sats)
{
    const std::vector<TpPlace> tps = Children(db.Tps(), IdsGone(db.Sats(), sats));
    RemoveTps(db, tps);
    m_sats.Detach(db.Sats(), sats);
}

void NodeRemoval::RemoveTps(CProgDb& db, const std::vector<TpPlace>& tps)
{
    const std::vector<ProgPlace> progs = Children(db.Progs(), IdsGone(db.Tps(), tps));
    RemoveProgs(db, progs);
    m_tps.Detach(db.Tps(), tps);
}

void NodeRemoval::RemoveProgs(CProgDb& db, const std::vector<ProgPlace>& progs)
{
    m_progs.Detach(db.Progs(), progs);
}

void NodeRemoval::Undo(CProgDb& db)
{
    m_sats.Reattach(db.Sats());
    m_tps.Reattach(db.Tps());
    m_progs.Reattach(db.Progs());
}

void NodeRemoval::Redo(CProgDb& db)
{
    m_progs.DetachAgain(db.Progs());
    m_tps.DetachAgain(db.Tps());
    m_sats.DetachAgain(db.Sats());
}

EditChange NodeRemoval::Change() const
{
    EditChange change;
    change.sats = m_sats.IsEmpty() ? ListChange::None : ListChange::Rows;
    change.tps = m_tps.IsEmpty() ? ListChange::None : ListChange::Rows;
    change.progs = m_progs.IsEmpty() ? ListChange::None : ListChange::Rows;
    return change;
}

} // namespace core
