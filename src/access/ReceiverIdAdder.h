#pragma once

#include "db/CNodeList.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// Adds nodes that must end up with the receiver's own ids instead of the ones the list hands out.
//
// The receiver's ids overlap the list's 0, 1, 2, ...; renaming each node right after its Add makes
// the list's id index walk the list for every id two nodes share for a moment (quadratic when the
// receiver counts from 1). So each node is parked on a unique negative id when added and all get
// their receiver ids in Finish: the same result, every step constant-time.
template <class TNode>
class ReceiverIdAdder
{
public:
    explicit ReceiverIdAdder(CNodeList<TNode>& list)
        : m_list(list)
    { }

    // Appends the node to the list; its id becomes receiverId at Finish.
    TNode& Add(std::unique_ptr<TNode> node, std::int32_t receiverId)
    {
        TNode& added = *node;
        m_list.Add(std::move(node));
        m_list.SetNodeId(added, kFirstParkedId - static_cast<std::int32_t>(m_added.size()));
        m_added.emplace_back(&added, receiverId);
        return added;
    }

    // Gives every node added its receiver id.
    void Finish()
    {
        for (const auto& [node, id] : m_added) {
            m_list.SetNodeId(*node, id);
        }
        m_added.clear();
    }

private:
    static constexpr std::int32_t kFirstParkedId = -2; // below InvalidId; receiver ids are never negative

    CNodeList<TNode>& m_list;
    std::vector<std::pair<TNode*, std::int32_t>> m_added;
};
