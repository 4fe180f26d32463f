#include "editor/models/NewNodePlace.h"

#include "db/CProgDb.h"

using core::InvalidId;
using core::NodeType;

namespace editor {

namespace {
NodeType TypeOf(ListKind kind)
{
    return static_cast<NodeType>(static_cast<int>(kind));
}

const core::CNode* Find(const core::CProgDb& db, NodeType kind, std::int32_t id)
{
    switch (kind) {
    case core::Sat:
        return db.Sats().Find(id);
    case core::Tp:
        return db.Tps().Find(id);
    case core::Prog:
        break;
    }
    return db.Progs().Find(id);
}

// The parent of a node of that kind, InvalidId when it has none or is missing.
std::int32_t ParentOf(const core::CProgDb& db, NodeType kind, std::int32_t id)
{
    const core::CNode* node = kind == core::Sat ? nullptr : Find(db, kind, id);
    return node == nullptr ? InvalidId : node->ParentId();
}

// The node of kind `ancestor` that the node `id` of kind `kind` is under (or is); InvalidId when none.
std::int32_t AncestorOf(const core::CProgDb& db, NodeType kind, std::int32_t id, NodeType ancestor)
{
    while (kind > ancestor && id != InvalidId) {
        id = ParentOf(db, kind, id);
        kind = static_cast<NodeType>(kind - 1);
    }
    return kind == ancestor ? id : InvalidId;
}

// The last node of a list under parentId (every node for InvalidId); InvalidId when none.
template <typename TList>
std::int32_t LastChild(const TList& list, std::int32_t parentId)
{
    std::int32_t last = InvalidId;
    for (const auto& node : list) {
        if (parentId == InvalidId || node.ParentId() == parentId) {
            last = node.Id();
        }
    }
    return last;
}

std::int32_t LastOfKind(const core::CProgDb& db, NodeType kind, std::int32_t parentId)
{
    switch (kind) {
    case core::Sat:
        return LastChild(db.Sats(), InvalidId);
    case core::Tp:
        return LastChild(db.Tps(), parentId);
    case core::Prog:
        break;
    }
    return LastChild(db.Progs(), parentId);
}

// The parent a new node of `kind` goes under, from what the list shows; InvalidId when none.
std::int32_t ContextParent(const core::CProgDb& db, NodeType kind, const ListContext& context)
{
    const NodeType shown = TypeOf(context.shown);
    const NodeType parentKind = static_cast<NodeType>(kind - 1);
    if (context.currentId != InvalidId) {
        const std::int32_t parent = AncestorOf(db, shown, context.currentId, parentKind);
        if (parent != InvalidId) {
            return parent;
        }
    }
    // The shown rows' own parent, when the list shows the children of one node.
    if (shown != core::Sat && context.shownParent != InvalidId) {
        return AncestorOf(db, static_cast<NodeType>(shown - 1), context.shownParent, parentKind);
    }
    return InvalidId;
}
} // namespace

std::optional<NewNodePlace> PlaceNewNode(const core::CProgDb& db, NodeType kind, const ListContext& context)
{
    NewNodePlace place;
    if (kind != core::Sat) {
        place.parentId = ContextParent(db, kind, context);
        if (place.parentId == InvalidId) {
            return std::nullopt;
        }
    }
    const bool afterCurrent = TypeOf(context.shown) == kind && Find(db, kind, context.currentId) != nullptr
        && ParentOf(db, kind, context.currentId) == place.parentId;
    place.afterId = afterCurrent ? context.currentId : LastOfKind(db, kind, place.parentId);
    return place;
}

} // namespace editor
