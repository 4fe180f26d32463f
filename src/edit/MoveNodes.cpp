#include "edit/MoveNodes.h"

#include "edit/EditNames.h"
#include "edit/ListOf.h"
#include "edit/ListOrder.h"

#include <unordered_set>

namespace core {

namespace {

template <class TNode>
class MoveNodesEdit final : public IEdit
{
    using Place = typename CNodeList<TNode>::Place;

public:
    MoveNodesEdit(NodeType kind, std::vector<std::int32_t> ids, std::int32_t beforeId)
        : m_kind(kind)
        , m_ids(std::move(ids))
        , m_beforeId(beforeId)
    { }

    bool Apply(CProgDb& db) override
    {
        CNodeList<TNode>& list = ListOf<TNode>(db);
        std::vector<Place> places;
        if (m_ids.empty() || !list.Resolve(m_ids, places)) {
            return false;
        }
        Place target = list.EndPlace();
        if (m_beforeId != InvalidId) {
            target = list.PlaceOf(m_beforeId);
            if (target == list.EndPlace()) {
                return false;
            }
        }
        m_moved = InListOrder(list, places);
        m_ids = {}; // the places name the nodes from now on
        m_target = FirstNotMoved(list, target);
        if (AlreadyThere()) {
            m_moved.clear();
            return true;
        }
        Move(list);
        return true;
    }

    void Undo(CProgDb& db) override
    {
        CNodeList<TNode>& list = ListOf<TNode>(db);
        for (std::size_t i = m_moved.size(); i-- > 0;) {
            list.MoveBefore(m_moved[i], m_nexts[i]);
        }
    }

    void Redo(CProgDb& db) override { Move(ListOf<TNode>(db)); }

    EditChange Change() const override
    {
        EditChange change;
        change.Of(m_kind) = m_moved.empty() ? ListChange::None : ListChange::Moved;
        return change;
    }

    std::string Name() const override { return CountedEditName("Move", m_moved.size(), m_kind); }

private:
    Place FirstNotMoved(CNodeList<TNode>& list, Place target) const
    {
        std::unordered_set<const TNode*> moved;
        for (const Place place : m_moved) {
            moved.insert(place->get());
        }
        while (target != list.EndPlace() && moved.count(target->get()) != 0) {
            ++target;
        }
        return target;
    }

    // True when the block already stands, in its order, directly before the target.
    bool AlreadyThere() const
    {
        Place at = m_moved.front();
        for (const Place place : m_moved) {
            if (at != place) {
                return false;
            }
            ++at;
        }
        return at == m_target;
    }

    // One node after the other, each remembering the node that followed it for the undo.
    void Move(CNodeList<TNode>& list)
    {
        m_nexts.clear();
        for (const Place place : m_moved) {
            m_nexts.push_back(std::next(place));
            list.MoveBefore(place, m_target);
        }
    }

    NodeType m_kind;
    std::vector<std::int32_t> m_ids;
    std::int32_t m_beforeId;
    std::vector<Place> m_moved;
    std::vector<Place> m_nexts;
    Place m_target{};
};

} // namespace

std::unique_ptr<IEdit> MoveNodes(NodeType kind, std::vector<std::int32_t> ids, std::int32_t beforeId)
{
    switch (kind) {
    case Sat:
        return std::make_unique<MoveNodesEdit<CSatNode>>(kind, std::move(ids), beforeId);
    case Tp:
        return std::make_unique<MoveNodesEdit<CTpNode>>(kind, std::move(ids), beforeId);
    case Prog:
        break;
    }
    return std::make_unique<MoveNodesEdit<CProgNode>>(kind, std::move(ids), beforeId);
}

} // namespace core
