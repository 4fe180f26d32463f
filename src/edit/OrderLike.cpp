#include "edit/OrderLike.h"

#include "db/CProgDb.h"
#include "edit/ListOrder.h"
#include "edit/ReferenceOrder.h"

#include <algorithm>
#include <utility>

namespace core {

namespace {

class OrderLikeEdit final : public IEdit
{
    using Place = CNodeList<CProgNode>::Place;

public:
    OrderLikeEdit(const CProgDb& reference, OrderLikeCounts* counts)
        : m_reference(&reference)
        , m_counts(counts)
    { }

    bool Apply(CProgDb& db) override
    {
        if (m_reference == nullptr) {
            return false;
        }
        const std::vector<std::size_t> ranks = ReferenceRanks(db, *m_reference);
        m_reference = nullptr;
        m_old = db.Progs().Places();
        std::vector<std::pair<std::size_t, Place>> matched;
        std::vector<Place> unmatched;
        for (std::size_t i = 0; i < m_old.size(); ++i) {
            if (ranks[i] == kUnmatched) {
                unmatched.push_back(m_old[i]);
            } else {
                matched.emplace_back(ranks[i], m_old[i]);
            }
        }
        if (m_counts != nullptr) {
            *m_counts = OrderLikeCounts{matched.size(), m_old.size()};
            m_counts = nullptr;
        }
        std::sort(matched.begin(), matched.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        m_new.reserve(m_old.size());
        for (const auto& entry : matched) {
            m_new.push_back(entry.second);
        }
        m_new.insert(m_new.end(), unmatched.begin(), unmatched.end());
        if (m_new == m_old) {
            m_old.clear();
            m_new.clear();
            return true;
        }
        Rearrange(db.Progs(), m_new);
        return true;
    }
    void Undo(CProgDb& db) override { Rearrange(db.Progs(), m_old); }
    void Redo(CProgDb& db) override { Rearrange(db.Progs(), m_new); }

    EditChange Change() const override
    {
        EditChange change;
        change.progs = m_new.empty() ? ListChange::None : ListChange::Moved;
        return change;
    }
    std::string Name() const override { return "Order Like Reference"; }

private:
    const CProgDb* m_reference;
    OrderLikeCounts* m_counts;
    std::vector<Place> m_old;
    std::vector<Place> m_new;
};

} // namespace

std::unique_ptr<IEdit> OrderLike(const CProgDb& reference, OrderLikeCounts* counts)
{
    return std::make_unique<OrderLikeEdit>(reference, counts);
}

} // namespace core
