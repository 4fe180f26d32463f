#pragma once

#include "db/CNodeList.h"

#include <unordered_set>
#include <vector>

namespace core {

// The places sorted into list order, in one walk of the list.
template <class TNode>
std::vector<typename CNodeList<TNode>::Place> InListOrder(CNodeList<TNode>& list,
                                                          const std::vector<typename CNodeList<TNode>::Place>& places)
{
    std::unordered_set<const TNode*> wanted;
    wanted.reserve(places.size());
    for (const auto place : places) {
        wanted.insert(place->get());
    }
    std::vector<typename CNodeList<TNode>::Place> ordered;
    ordered.reserve(places.size());
    for (const auto place : list.Places()) {
        if (wanted.count(place->get()) != 0) {
            ordered.push_back(place);
        }
    }
    return ordered;
}

// Puts the nodes of order into the slots they occupy together: the i-th of those slots, in list
// order, gets order[i]; every other node keeps its place. A sort of a transponder's programs so
// leaves the other programs where they are.
template <class TNode>
void Rearrange(CNodeList<TNode>& list, const std::vector<typename CNodeList<TNode>::Place>& order)
{
    std::vector<typename CNodeList<TNode>::Place> sequence;
    if (order.size() == list.Count()) {
        sequence = order;
    } else {
        std::unordered_set<const TNode*> members;
        members.reserve(order.size());
        for (const auto place : order) {
            members.insert(place->get());
        }
        auto next = order.begin();
        for (const auto place : list.Places()) {
            sequence.push_back(members.count(place->get()) != 0 ? *next++ : place);
        }
    }
    for (const auto place : sequence) {
        list.MoveBefore(place, list.EndPlace());
    }
}

} // namespace core
