#include "edit/SortNodes.h"

#include "db/LnbFreqTable.h"
#include "edit/CaseFolder.h"
#include "edit/EditNames.h"
#include "edit/FieldTable.h"
#include "edit/ListOf.h"
#include "edit/ListOrder.h"

#include <algorithm>
#include <numeric>

namespace core {

namespace {

// The key of a node for a number column, as the list shows it.
std::int64_t NumberKey(const CNode& node, const FieldInfo* field, std::string_view key)
{
    if (field == nullptr) {
        return key == kParentIdKey ? node.ParentId() : node.Id();
    }
    const std::uint32_t value = FieldValue(node, *field);
    if (field->kind == FieldKind::LnbIndex) {
        return LnbIndexToMHz(value);
    }
    return static_cast<std::int32_t>(value); // FavType with bit 31 set shows negative
}

// The positions 0..keys.size()-1 in the order of their keys, equal keys in their first order.
template <class Key>
std::vector<std::size_t> StableOrder(const std::vector<Key>& keys, SortOrder order)
{
    std::vector<std::size_t> positions(keys.size());
    std::iota(positions.begin(), positions.end(), std::size_t{0});
    if (order == SortOrder::Ascending) {
        std::stable_sort(
            positions.begin(), positions.end(), [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    } else {
        std::stable_sort(
            positions.begin(), positions.end(), [&keys](std::size_t a, std::size_t b) { return keys[b] < keys[a]; });
    }
    return positions;
}

template <class TNode>
class SortNodesEdit final : public IEdit
{
    using Place = typename CNodeList<TNode>::Place;

public:
    SortNodesEdit(NodeType kind, std::vector<std::int32_t> ids, std::string key, SortOrder order)
        : m_kind(kind)
        , m_ids(std::move(ids))
        , m_key(std::move(key))
        , m_order(order)
    { }

    bool Apply(CProgDb& db) override
    {
        CNodeList<TNode>& list = ListOf<TNode>(db);
        const FieldInfo* field = FindField(m_kind, m_key);
        std::vector<Place> places;
        if (m_ids.empty() || (field == nullptr && m_key != kIdKey && m_key != kParentIdKey)
            || !list.Resolve(m_ids, places)) {
            return false;
        }
        m_ids = {};
        m_old = InListOrder(list, places);
        const std::vector<std::size_t> positions = SortedPositions(field);
        m_new.reserve(positions.size());
        for (const std::size_t position : positions) {
            m_new.push_back(m_old[position]);
        }
        if (m_new == m_old) {
            m_old.clear();
            m_new.clear();
            return true;
        }
        Rearrange(list, m_new);
        return true;
    }
    void Undo(CProgDb& db) override { Rearrange(ListOf<TNode>(db), m_old); }
    void Redo(CProgDb& db) override { Rearrange(ListOf<TNode>(db), m_new); }

    EditChange Change() const override
    {
        EditChange change;
        change.Of(m_kind) = m_new.empty() ? ListChange::None : ListChange::Moved;
        return change;
    }
    std::string Name() const override { return "Sort " + std::string(KindNoun(m_kind, true)); }

private:
    std::vector<std::size_t> SortedPositions(const FieldInfo* field) const
    {
        if (field != nullptr && field->IsName()) {
            CaseFolder folder;
            std::vector<std::string> keys;
            keys.reserve(m_old.size());
            for (const Place place : m_old) {
                keys.push_back(folder.Fold(NodeName(**place)));
            }
            return StableOrder(keys, m_order);
        }
        std::vector<std::int64_t> keys;
        keys.reserve(m_old.size());
        for (const Place place : m_old) {
            keys.push_back(NumberKey(**place, field, m_key));
        }
        return StableOrder(keys, m_order);
    }

    NodeType m_kind;
    std::vector<std::int32_t> m_ids;
    std::string m_key;
    SortOrder m_order;
    std::vector<Place> m_old; // the rows in list order before the sort
    std::vector<Place> m_new; // and after it
};

} // namespace

std::unique_ptr<IEdit> SortNodes(NodeType kind, std::vector<std::int32_t> ids, std::string key, SortOrder order)
{
    switch (kind) {
    case Sat:
        return std::make_unique<SortNodesEdit<CSatNode>>(kind, std::move(ids), std::move(key), order);
    case Tp:
        return std::make_unique<SortNodesEdit<CTpNode>>(kind, std::move(ids), std::move(key), order);
    case Prog:
        break;
    }
    return std::make_unique<SortNodesEdit<CProgNode>>(kind, std::move(ids), std::move(key), order);
}

std::string SortKeyForHeader(NodeType kind, std::string_view header)
{
    static constexpr std::string_view kIdHeaders[] = {"SatID", "TpID", "ProgID"};
    if (header == kIdHeaders[kind]) {
        return std::string(kIdKey);
    }
    if (kind != Sat && header == kIdHeaders[kind - 1]) {
        return std::string(kParentIdKey);
    }
    const FieldInfo* field = FindFieldByHeader(kind, header);
    return field == nullptr ? std::string() : std::string(field->name);
}

} // namespace core
