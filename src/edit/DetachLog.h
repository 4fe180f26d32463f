#pragma once

#include "db/CNodeList.h"

#include <cstddef>
#include <vector>

namespace core {

// Nodes an edit took out of a list, kept alive with the place each came from, so that undo puts
// them back exactly and redo takes them out again.
template <class TNode>
class DetachLog
{
public:
    using List = CNodeList<TNode>;
    using Place = typename List::Place;

    // Takes the nodes out, in the order given.
    void Detach(List& list, const std::vector<Place>& places)
    {
        m_steps.reserve(m_steps.size() + places.size());
        for (const Place node : places) {
            m_steps.push_back(Step{node, list.Detach(node, m_store)});
        }
    }

    // Puts every node back, the last taken out first, so each finds the successor it had.
    void Reattach(List& list)
    {
        for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step) {
            list.Reattach(step->node, step->next, m_store);
        }
    }

    // Takes the nodes out again, in the first order (the list is as Reattach left it).
    void DetachAgain(List& list)
    {
        for (Step& step : m_steps) {
            step.next = list.Detach(step.node, m_store);
        }
    }

    std::size_t Count() const { return m_steps.size(); }
    bool IsEmpty() const { return m_steps.empty(); }

private:
    struct Step
    {
        Place node;
        Place next;
    };

    typename List::Store m_store;
    std::vector<Step> m_steps;
};

} // namespace core
