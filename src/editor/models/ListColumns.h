#pragma once

#include "editor/models/ListKind.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {
class CNode;
} // namespace core

namespace editor {

// The column headers of a kind, in column order ("SatID", "TpID" or "ProgID" first).
const std::vector<std::string_view>& ColumnHeaders(ListKind kind);

// The text of one cell: the id, a field as a signed decimal number, or a name in the internal
// code page (the caller converts it for display). The node must be of the kind's type.
std::string CellText(ListKind kind, const core::CNode& node, int column);

// True for the columns that show a name (shown through the internal code page).
bool IsNameColumn(ListKind kind, int column);

} // namespace editor
