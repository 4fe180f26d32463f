#pragma once

#include "editor/models/ListKind.h"

#include <string>

namespace core {
class CNode;
} // namespace core

namespace editor {

// What a coded cell stands for (polarisation, 12 V and 22 kHz switches, DiSEqC port, LNB type and
// local-oscillator frequencies), in words for the cell's tooltip; empty for a cell that says it
// plainly. The cells themselves keep showing the stored numbers.
std::string CellToolTip(ListKind kind, const core::CNode& node, int column);

} // namespace editor
