#include "editor/DatabaseSnapshot.h"

#include "db/CProgDb.h"

namespace editor {

namespace {
template <class TNode>
void CopyList(const core::CNodeList<TNode>& from, core::CNodeList<TNode>& to)
{
    for (const TNode& node : from) {
        (void)to.AddWithId(std::make_unique<TNode>(node), node.Id());
    }
}
} // namespace

std::unique_ptr<core::CProgDb> SnapshotOf(const core::CProgDb& db)
{
    auto copy = std::make_unique<core::CProgDb>();
    CopyList(db.Sats(), copy->Sats());
    CopyList(db.Tps(), copy->Tps());
    CopyList(db.Progs(), copy->Progs());
    return copy;
}

} // namespace editor
