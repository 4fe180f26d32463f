#pragma once

#include "db/CNode.h"

namespace editor {

// What the program list shows; the numbers are the ones the browse tree passes.
enum class ListKind : int { Satellites = 0, Transponders = 1, Programs = 2 };

// The type of the nodes a list of the kind shows.
inline core::NodeType NodeTypeOf(ListKind kind)
{
    switch (kind) {
    case ListKind::Programs:
        return core::Prog;
    case ListKind::Transponders:
        return core::Tp;
    case ListKind::Satellites:
        break;
    }
    return core::Sat;
}

} // namespace editor
