#pragma once

#include "db/CNode.h"

#include <cstdint>
#include <iterator>
#include <list>
#include <memory>
#include <unordered_map>
#include <unordered_set>
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
        ++m_revision;
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
            ++m_revision;
        }
        return true;
    }

    // Destroys every node and restarts the ids from 0.
    void Clear()
    {
        m_index.clear();
        m_nodes.clear();
        m_lastId = InvalidId;
        ++m_revision;
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
        ++m_revision;
    }

    // Places and stores, for the edit history (src/edit). An edit keeps the places of the nodes it
    // touched instead of their ids, so that undo and redo act on exactly the same nodes, whatever
    // ids a flash reader gave them. A place stays valid while its node is in this list or held in a
    // store; Clear and the destruction of the store end it.
    using Place = typename Storage::iterator;
    // Nodes taken out of the list but kept alive, with their ids, for an undo or a redo.
    using Store = Storage;

    Place EndPlace() { return m_nodes.end(); }
    // The place of the first node with this id in list order, or EndPlace().
    Place PlaceOf(std::int32_t id) { return FindIt(id); }

    // Every place, in list order.
    std::vector<Place> Places()
    {
        std::vector<Place> places;
        places.reserve(m_nodes.size());
        for (auto it = m_nodes.begin(); it != m_nodes.end(); ++it) {
            places.push_back(it);
        }
        return places;
    }

    // How many nodes carry the id: 0 or 1, more only while a flash reader's ids repeat.
    std::uint32_t CountWithId(std::int32_t id) const
    {
        const auto entry = m_index.find(id);
        return entry == m_index.end() ? 0u : static_cast<std::uint32_t>(1 + entry->second.others.size());
    }

    // The places of the nodes that ids name, in the order of ids. Each occurrence of an id takes the
    // next node carrying it in list order, so a selection of two rows that share an id names both.
    // False (places empty) when an id has no node left.
    [[nodiscard]] bool Resolve(const std::vector<std::int32_t>& ids, std::vector<Place>& places)
    {
        places.clear();
        std::unordered_map<std::int32_t, std::vector<Place>> shared = SharedIdPlaces(ids);
        std::unordered_map<std::int32_t, std::size_t> taken;
        for (const std::int32_t id : ids) {
            const auto entry = m_index.find(id);
            const std::size_t next = taken[id]++;
            if (entry == m_index.end() || next > entry->second.others.size()) {
                places.clear();
                return false;
            }
            places.push_back(entry->second.others.empty() ? entry->second.node : shared[id][next]);
        }
        return true;
    }

    // Takes the node out of the list into the store; it keeps its id. Returns the place that
    // followed it, where Reattach puts it back.
    Place Detach(Place node, Store& store)
    {
        const Place next = std::next(node);
        IndexRemove(node);
        store.splice(store.end(), m_nodes, node);
        ++m_revision;
        return next;
    }

    // Puts a node held in the store back into the list, directly before the place before.
    void Reattach(Place node, Place before, Store& store)
    {
        m_nodes.splice(before, store, node);
        IndexInsert(node);
        ++m_revision;
    }

    // Moves a node of the list directly before another place of the list (before itself or its
    // successor leaves the order as it is). Ids and parents stay.
    void MoveBefore(Place node, Place before)
    {
        m_nodes.splice(before, m_nodes, node);
        ++m_revision;
    }

    // Gives the node the next id as Add does, but keeps it in the store until it is Reattached.
    Place AddDetached(std::unique_ptr<TNode> node, Store& store)
    {
        node->m_id = ++m_lastId;
        store.push_back(std::move(node));
        return std::prev(store.end());
    }

    // Grows with every change of the list's nodes or order (not of their values), so the edit
    // history can tell whether the list is still as it left it.
    std::uint64_t Revision() const { return m_revision; }

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

    // For each shared id among ids, the places of the nodes carrying it, in list order (one walk).
    std::unordered_map<std::int32_t, std::vector<Place>> SharedIdPlaces(const std::vector<std::int32_t>& ids)
    {
        std::unordered_set<std::int32_t> wanted;
        for (const std::int32_t id : ids) {
            const auto entry = m_index.find(id);
            if (entry != m_index.end() && !entry->second.others.empty()) {
                wanted.insert(id);
            }
        }
        std::unordered_map<std::int32_t, std::vector<Place>> shared;
        if (wanted.empty()) {
            return shared;
        }
        for (auto it = m_nodes.begin(); it != m_nodes.end(); ++it) {
            if (wanted.count((*it)->Id()) != 0) {
                shared[(*it)->Id()].push_back(it);
            }
        }
        return shared;
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
        ++m_revision;
        return m_nodes.erase(it);
    }

    Storage m_nodes;
    std::unordered_map<std::int32_t, IdEntry> m_index;
    std::int32_t m_lastId = InvalidId;
    std::uint64_t m_revision = 0;
};

} // namespace core
