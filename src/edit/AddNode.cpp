#include "edit/AddNode.h"

#include "db/LnbFreqTable.h"
#include "edit/EditNames.h"
#include "edit/ListOf.h"

namespace core {

namespace {

constexpr std::uint32_t kDefaultLnbLow = 9750;
constexpr std::uint32_t kDefaultLnbHigh = 10600;

template <class TNode>
std::unique_ptr<TNode> NewNode(std::int32_t parentId);

template <>
std::unique_ptr<CSatNode> NewNode<CSatNode>(std::int32_t)
{
    auto sat = std::make_unique<CSatNode>();
    sat->SetName(kNewSatelliteName);
    sat->SetLocalFre1(static_cast<std::uint32_t>(LnbMHzToIndex(kDefaultLnbLow)));
    sat->SetLocalFre2(static_cast<std::uint32_t>(LnbMHzToIndex(kDefaultLnbHigh)));
    return sat;
}

template <>
std::unique_ptr<CTpNode> NewNode<CTpNode>(std::int32_t parentId)
{
    return std::make_unique<CTpNode>(InvalidId, parentId);
}

template <>
std::unique_ptr<CProgNode> NewNode<CProgNode>(std::int32_t parentId)
{
    auto prog = std::make_unique<CProgNode>(InvalidId, parentId);
    prog->SetProgName(kNewProgramName);
    return prog;
}

bool ParentExists(CProgDb& db, NodeType kind, std::int32_t parentId)
{
    switch (kind) {
    case Sat:
        return parentId == InvalidId;
    case Tp:
        return db.Sats().Find(parentId) != nullptr;
    case Prog:
        break;
    }
    return db.Tps().Find(parentId) != nullptr;
}

template <class TNode>
class AddNodeEdit final : public IEdit
{
    using Place = typename CNodeList<TNode>::Place;

public:
    AddNodeEdit(NodeType kind, std::int32_t parentId, std::int32_t afterId)
        : m_kind(kind)
        , m_parentId(parentId)
        , m_afterId(afterId)
    { }

    bool Apply(CProgDb& db) override
    {
        CNodeList<TNode>& list = ListOf<TNode>(db);
        if (!ParentExists(db, m_kind, m_parentId)) {
            return false;
        }
        m_before = list.EndPlace();
        if (m_afterId != InvalidId) {
            const Place after = list.PlaceOf(m_afterId);
            if (after == list.EndPlace()) {
                return false;
            }
            m_before = std::next(after);
        }
        m_node = list.AddDetached(NewNode<TNode>(m_parentId), m_store);
        m_id = (*m_node)->Id();
        Redo(db);
        return true;
    }
    void Undo(CProgDb& db) override { m_before = ListOf<TNode>(db).Detach(m_node, m_store); }
    void Redo(CProgDb& db) override { ListOf<TNode>(db).Reattach(m_node, m_before, m_store); }

    EditChange Change() const override
    {
        EditChange change;
        change.Of(m_kind) = ListChange::Rows;
        change.nodeKind = m_kind;
        change.nodeId = m_id;
        return change;
    }
    std::string Name() const override { return "New " + std::string(KindNoun(m_kind, false)); }

private:
    NodeType m_kind;
    std::int32_t m_parentId;
    std::int32_t m_afterId;
    std::int32_t m_id = InvalidId;
    typename CNodeList<TNode>::Store m_store; // holds the node while it is undone
    Place m_node{};
    Place m_before{};
};

} // namespace

std::unique_ptr<IEdit> AddNode(NodeType kind, std::int32_t parentId, std::int32_t afterId)
{
    switch (kind) {
    case Sat:
        return std::make_unique<AddNodeEdit<CSatNode>>(kind, parentId, afterId);
    case Tp:
        return std::make_unique<AddNodeEdit<CTpNode>>(kind, parentId, afterId);
    case Prog:
        break;
    }
    return std::make_unique<AddNodeEdit<CProgNode>>(kind, parentId, afterId);
}

} // namespace core
