#pragma once

#include "db/CNode.h"
#include "edit/IEdit.h"

#include <cstdint>
#include <memory>
#include <string>

namespace core {

// Sets a number field (by its name in the field table, e.g. "ServiceId", "Polar", "LocalFre1") of
// the node with this id to a raw value. Fails on an unknown node or field, a name field (see
// RenameNode) or a value wider than the field. Named "Edit ServiceId".
std::unique_ptr<IEdit> SetField(NodeType kind, std::int32_t id, std::string field, std::uint32_t value);

} // namespace core
