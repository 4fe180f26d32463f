#pragma once

#include "db/CNode.h"
#include "edit/IEdit.h"

#include <cstdint>
#include <memory>
#include <string>

namespace core {

// Gives a satellite or a program a new name: bytes in the internal code page (the caller converts
// and refuses characters without an exact form there), at most 16 bytes for a satellite and 41 for
// a program, without NUL. Fails on an unknown node, a transponder, or a name too long. Named
// "Rename Satellite", "Rename Program".
std::unique_ptr<IEdit> RenameNode(NodeType kind, std::int32_t id, std::string name);

} // namespace core
