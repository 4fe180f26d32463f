#pragma once

#include "db/CProgDb.h"

namespace core {

// The database's list of a node type, for edits written once for every kind.
template <class TNode>
CNodeList<TNode>& ListOf(CProgDb& db);

template <>
inline CNodeList<CSatNode>& ListOf<CSatNode>(CProgDb& db)
{
    return db.Sats();
}

template <>
inline CNodeList<CTpNode>& ListOf<CTpNode>(CProgDb& db)
{
    return db.Tps();
}

template <>
inline CNodeList<CProgNode>& ListOf<CProgNode>(CProgDb& db)
{
    return db.Progs();
}

// The first node with this id in the list of the kind, or nullptr.
inline CNode* FindNode(CProgDb& db, NodeType kind, std::int32_t id)
{
    switch (kind) {
    case Sat:
        return db.Sats().Find(id);
    case Tp:
        return db.Tps().Find(id);
    case Prog:
        break;
    }
    return db.Progs().Find(id);
}

} // namespace core
