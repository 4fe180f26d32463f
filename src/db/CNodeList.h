#pragma once

#include "db/CNode.h"

#include <cstdint>
#include <iterator>
#include <list>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

namespace core {

// An ordered list of owned nodes of one kind, with its own id counter.
//
// Find is constant time on average: an index maps every id to its node and to the number of
// nodes that carry it. Ids are unique unless a flash reader gave two nodes the same receiver id;
// for such a shared id the list is walked, so Find still returns the first node in list order.
template <class TNode>
class CNodeList
{
    using Storage = std::list<std::unique_ptr<TNode>>;

public:
    // Forward iteration yielding nodes, in list order.
    template <class BaseIt, class Value>
    class Iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Value;
        using difference_type = std::ptrdiff_t;
        using pointer = Value*;
        using reference = Value&;

        Iterator() = default;
        explicit Iterator(BaseIt it)
            : m_it(it)
        { }
        reference operator*() const { return **m_it; }
        pointer operator->() const { return m_it->get(); }
        Iterator& operator++()
        {
            ++m_it;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator old = *this;
            ++m_it;
            return old;
        }
        bool operator==(const Iterator& other) const { return m_it == other.m_it; }

    private:
        BaseIt m_it{};
    };
    using iterator = Iterator<typename Storage::iterator, TNode>;
    using const_iterator = Iterator<typename Storage::const_iterator, const TNode>;

    CNodeList() = default;
    CNodeList(const CNodeList&) = delete;
    CNodeList& operator=(const CNodeList&) = delete;

    // Takes ownership, gives the node the next id and appends it; returns the id.
    std::int32_t Add(std::unique_ptr<TNode> node)
    {
        node->m_id = ++m_lastId;
        m_nodes.push_back(std::move(node));
        IndexInsert(std::prev(m_nodes.end()));
        return m_lastId;
    }

    // The first node in list order with this id, or nullptr.
    TNode* Find(std::int32_t id) { return const_cast<TNode*>(std::as_const(*this).Find(id)); }
    const TNode* Find(std::int32_t id) const
    {
        const auto it = FindIt(id);
        return it == m_nodes.end() ? nullptr : it->get();
    }

    // Destroys the first node with this id; false when there is none. The id is not handed out again.
    [[nodiscard]] bool Delete(std::int32_t id)
    {
        const auto it = FindIt(id);
        if (it == m_nodes.end()) {
            return false;
        }
        Erase(it);
        return true;
    }

    // Destroys every node whose ParentId is parentId; the others keep their order.
    void RemoveByParent(std::int32_t parentId)
    {
        RemoveIf([parentId](const TNode& node) { return node.ParentId() == parentId; });
    }

    // Destroys every node for which pred is true, in one walk.
    template <class Pred>
    void RemoveIf(Pred pred)
    {
        for (auto it = m_nodes.begin(); it != m_nodes.end();) {
            if (pred(static_cast<const TNode&>(**it))) {
                it = Erase(it);
            } else {
                ++it;
            }
        }
    }

    // Number of nodes whose ParentId is parentId.
    std::uint32_t CountByParent(std::int32_t parentId) const
    {
        std::uint32_t count = 0;
        for (const auto& node : m_nodes) {
            count += node->ParentId() == parentId ? 1u : 0u;
        }
        return count;
    }

    // Moves the source node directly before the target node; false (nothing changed) when
    // either is missing. Ids and parents stay as they are.
    [[nodiscard]] bool Move(std::int32_t sourceId, std::int32_t targetId)
    {
        const auto source = FindIt(sourceId);
        const auto target = FindIt(targetId);
        if (source == m_nodes.end() || target == m_nodes.end()) {
            return false;
        }
        if (source != target) {
            m_nodes.splice(target, m_nodes, source);
        }
        return true;
    }

    // Destroys every node and restarts the ids from 0.
    void Clear()
    {
        m_index.clear();
        m_nodes.clear();
        m_lastId = InvalidId;
    }

    // Adds the node as Add does (the id counter grows alike), then gives it the receiver's own id.
    TNode& AddWithId(std::unique_ptr<TNode> node, std::int32_t id)
    {
        TNode& added = *node;
        Add(std::move(node));
        SetNodeId(added, id);
        return added;
    }

    // Gives a node another id (the flash readers use the receiver's own ids).
    void SetNodeId(TNode& node, std::int32_t id)
    {
        const auto entry = m_index.find(node.Id());
        if (entry == m_index.end()) {
            return;
        }
        typename Storage::iterator it = entry->second.node;
        for (const auto other : entry->second.others) {
            if (other->get() == &node) {
                it = other;
            }
        }
        if (it->get() != &node) {
            return; // not a node of this list
        }
        IndexRemove(it);
        node.m_id = id;
        IndexInsert(it);
    }

    std::uint32_t Count() const { return static_cast<std::uint32_t>(m_nodes.size()); }
    bool IsEmpty() const { return m_nodes.empty(); }
    std::int32_t LastId() const { return m_lastId; }

    iterator begin() { return iterator(m_nodes.begin()); }
    iterator end() { return iterator(m_nodes.end()); }
    const_iterator begin() const { return const_iterator(m_nodes.begin()); }
    const_iterator end() const { return const_iterator(m_nodes.end()); }

private:
    // Every node that carries an id: one for unique ids, more only while a flash reader's ids repeat.
    struct IdEntry
    {
        typename Storage::iterator node;
        std::vector<typename Storage::iterator> others;
    };

    typename Storage::const_iterator FindIt(std::int32_t id) const { return const_cast<CNodeList*>(this)->FindIt(id); }
    typename Storage::iterator FindIt(std::int32_t id)
    {
        const auto entry = m_index.find(id);
        if (entry == m_index.end()) {
            return m_nodes.end();
        }
        if (entry->second.others.empty()) {
            return entry->second.node;
        }
        // A shared id: the first node in list order wins, and only the list knows the order.
        auto it = m_nodes.begin();
        while ((*it)->Id() != id) {
            ++it;
        }
        return it;
    }

    void IndexInsert(typename Storage::iterator it)
    {
        const auto [entry, added] = m_index.try_emplace((*it)->Id(), IdEntry{it, {}});
        if (!added) {
            entry->second.others.push_back(it);
        }
    }

    // Call before the node at it leaves the list or changes its id.
    void IndexRemove(typename Storage::iterator it)
    {
        const auto entry = m_index.find((*it)->Id());
        IdEntry& ids = entry->second;
        if (ids.node == it) {
            if (ids.others.empty()) {
                m_index.erase(entry);
                return;
            }
            ids.node = ids.others.back();
            ids.others.pop_back();
            return;
        }
        for (auto& other : ids.others) {
            if (other == it) {
                other = ids.others.back();
                ids.others.pop_back();
                return;
            }
        }
    }

    typename Storage::iterator Erase(typename Storage::iterator it)
    {
        IndexRemove(it);
        return m_nodes.erase(it);
    }

    Storage m_nodes;
    std::unordered_map<std::int32_t, IdEntry> m_index;
    std::int32_t m_lastId = InvalidId;
};

} // namespace core
