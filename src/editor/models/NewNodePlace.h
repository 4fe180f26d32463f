#pragma once

#include "db/CNode.h"
#include "editor/models/ListKind.h"

#include <cstdint>
#include <optional>

namespace core {
class CProgDb;
} // namespace core

namespace editor {

// Where New Satellite, New Transponder or New Program puts its node: under which parent and
// directly after which node of its kind (InvalidId: at the end of the list), as AddNode takes them.
struct NewNodePlace
{
    std::int32_t parentId = core::InvalidId;
    std::int32_t afterId = core::InvalidId;
};

// What the list shows when a new node is asked for: the kind of its rows, the parent they were
// chosen by (InvalidId for every node of the kind) and the id of the current row (InvalidId when
// there is none).
struct ListContext
{
    ListKind shown = ListKind::Satellites;
    std::int32_t shownParent = core::InvalidId;
    std::int32_t currentId = core::InvalidId;
};

// The place of a new node of a kind. When the list shows that kind, the node goes after the
// current row (at the end of the shown rows without one) under the parent shown, or the current
// row's parent when every node is shown. Otherwise its parent is the selected one (the current
// row, or the node whose children are shown, or their parent) and the node goes after that
// parent's last child. Nothing when no parent can be told: a program with no transponder in sight.
std::optional<NewNodePlace> PlaceNewNode(const core::CProgDb& db, core::NodeType kind, const ListContext& context);

} // namespace editor
