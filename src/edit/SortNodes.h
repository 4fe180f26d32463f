#pragma once

#include "db/CNode.h"
#include "edit/IEdit.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace core {

enum class SortOrder { Ascending, Descending };

// The sort keys besides the fields of the field table: a node's own id and its parent's id.
inline constexpr std::string_view kIdKey = "Id";
inline constexpr std::string_view kParentIdKey = "ParentId";

// Sorts the rows a view shows (all programs, a transponder's programs, the satellites, a
// satellite's transponders: ids as for DeleteNodes) by one key, stably in either order. The rows
// keep the places they occupy in the list among the other nodes. The key is a field name of the
// field table or kIdKey / kParentIdKey; values compare as the list shows them (signed, LNB indexes
// as MHz), names case-insensitively in the internal code page (CaseFolder). Fails on an empty
// selection, an unknown id or key. Named "Sort Programs", "Sort Satellites"...
std::unique_ptr<IEdit> SortNodes(NodeType kind, std::vector<std::int32_t> ids, std::string key, SortOrder order);

// The sort key of a column of the list, by its header: "ProgID" gives kIdKey, "TpID" of the
// program list kParentIdKey, "12V" Switch12V. Empty when no column has that header.
std::string SortKeyForHeader(NodeType kind, std::string_view header);

} // namespace core
