#pragma once

#include "db/CNode.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// "Satellite", "Transponder", "Program", or their plurals.
std::string_view KindNoun(NodeType kind, bool plural);

// An edit's name with a count: "Delete 3 Programs", "Delete Satellite" (one), "Remove 12 Duplicate
// Programs" (with the qualifier "Duplicate").
std::string CountedEditName(std::string_view verb, std::size_t count, NodeType kind, std::string_view qualifier = {});

} // namespace core
