#include "edit/DeleteNodes.h"

#include "edit/EditNames.h"
#include "edit/NodeRemoval.h"

namespace core {

namespace {

class DeleteNodesEdit final : public IEdit
{
public:
    DeleteNodesEdit(NodeType kind, std::vector<std::int32_t> ids)
        : m_kind(kind)
        , m_ids(std::move(ids))
    { }

    bool Apply(CProgDb& db) override
    {
        if (m_ids.empty() || !Remove(db)) {
            return false;
        }
        m_count = m_ids.size();
        m_ids = {}; // the removal keeps the nodes themselves
        return true;
    }
    void Undo(CProgDb& db) override { m_removal.Undo(db); }
    void Redo(CProgDb& db) override { m_removal.Redo(db); }
    EditChange Change() const override { return m_removal.Change(); }
    std::string Name() const override { return CountedEditName("Delete", m_count, m_kind); }

private:
    template <class TNode>
    bool Resolve(CNodeList<TNode>& list, std::vector<typename CNodeList<TNode>::Place>& places) const
    {
        return list.Resolve(m_ids, places);
    }

    bool Remove(CProgDb& db)
    {
        switch (m_kind) {
        case Sat: {
            std::vector<NodeRemoval::SatPlace> sats;
            if (!Resolve(db.Sats(), sats)) {
                return false;
            }
            m_removal.RemoveSats(db, sats);
            return true;
        }
        case Tp: {
            std::vector<NodeRemoval::TpPlace> tps;
            if (!Resolve(db.Tps(), tps)) {
                return false;
            }
            m_removal.RemoveTps(db, tps);
            return true;
        }
        case Prog:
            break;
        }
        std::vector<NodeRemoval::ProgPlace> progs;
        if (!Resolve(db.Progs(), progs)) {
            return false;
        }
        m_removal.RemoveProgs(db, progs);
        return true;
    }

    NodeType m_kind;
    std::vector<std::int32_t> m_ids;
    std::size_t m_count = 0;
    NodeRemoval m_removal;
};

} // namespace

std::unique_ptr<IEdit> DeleteNodes(NodeType kind, std::vector<std::int32_t> ids)
{
    return std::make_unique<DeleteNodesEdit>(kind, std::move(ids));
}

} // namespace core
