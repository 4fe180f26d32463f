#pragma once

#include "db/CNode.h"

#include <cstdint>

namespace core {

// What an edit, its undo or its redo did to one list, from the cheapest refresh to the dearest.
enum class ListChange {
    None,
    Values, // the same nodes in the same order; fields or names changed
    Moved, // the same nodes with the same values, in another order
    Rows, // nodes were added or removed
};

// What one step of the edit history changed, so that a view can refresh no more than it must.
struct EditChange
{
    ListChange sats = ListChange::None;
    ListChange tps = ListChange::None;
    ListChange progs = ListChange::None;
    // The one node the step is about (a value set, a rename, an added node: the row to refresh or
    // select; after the undo of an add it is gone). nodeId is InvalidId when the step touched several.
    NodeType nodeKind = Sat;
    std::int32_t nodeId = InvalidId;

    ListChange Of(NodeType kind) const
    {
        switch (kind) {
        case Sat:
            return sats;
        case Tp:
            return tps;
        case Prog:
            break;
        }
        return progs;
    }
    ListChange& Of(NodeType kind)
    {
        switch (kind) {
        case Sat:
            return sats;
        case Tp:
            return tps;
        case Prog:
            break;
        }
        return progs;
    }
    // False when the step changed nothing at all.
    bool Any() const { return sats != ListChange::None || tps != ListChange::None || progs != ListChange::None; }
};

} // namespace core
