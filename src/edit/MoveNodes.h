#pragma once

#include "db/CNode.h"
#include "edit/IEdit.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace core {

// Moves nodes of one kind, as a block in their list order, directly before the node beforeId, or
// to the end of the list when beforeId is InvalidId. When beforeId is one of the moved nodes the
// block goes before the first node after it that does not move (a drop onto its own selection).
// Ids and parents stay. Fails on an empty selection or an id with no node; a block that already
// stands there changes nothing. Named "Move 2 Transponders", "Move Program".
std::unique_ptr<IEdit> MoveNodes(NodeType kind, std::vector<std::int32_t> ids, std::int32_t beforeId);

} // namespace core
