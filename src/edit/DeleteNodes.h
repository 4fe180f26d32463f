#pragma once

#include "db/CNode.h"
#include "edit/IEdit.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace core {

// Deletes nodes of one kind with their dependants, as one edit: a satellite takes its transponders
// and their programs, a transponder its programs. ids are the rows' ids; two rows that share an id
// (a flash reader's) name the first and the second node carrying it. Fails on an empty selection
// or an id with no node. Named "Delete 3 Programs", "Delete Satellite".
std::unique_ptr<IEdit> DeleteNodes(NodeType kind, std::vector<std::int32_t> ids);

} // namespace core
