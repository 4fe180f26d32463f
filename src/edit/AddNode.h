#pragma once

#include "db/CNode.h"
#include "edit/IEdit.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace core {

// The names new nodes get.
inline constexpr std::string_view kNewSatelliteName = "New Satellite";
inline constexpr std::string_view kNewProgramName = "New Program";

// Adds a node directly after the node afterId of its kind, or at the end when afterId is
// InvalidId. parentId is the satellite of a new transponder, the transponder of a new program, and
// InvalidId for a satellite. The node gets the list's next id (EditChange::nodeId tells it; a redo
// gives back the same id), a zero record except a satellite's name and its LNB frequencies
// (9750 and 10600 MHz, the universal Ku-band LNB) and a program's name. The file-only fields stay
// zero: the default-database writer computes them. Fails on an unknown parent or afterId. Named
// "New Satellite", "New Transponder", "New Program".
std::unique_ptr<IEdit> AddNode(NodeType kind, std::int32_t parentId, std::int32_t afterId);

} // namespace core
