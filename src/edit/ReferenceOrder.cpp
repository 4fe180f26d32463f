#include "edit/ReferenceOrder.h"

#include "db/CProgDb.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <unordered_map>

namespace core {

namespace {

constexpr std::uint32_t kComparedTpBits = 0x7FFFFFFFu; // what SameTransponder compares

// Satellite names as small numbers, the same in both databases.
class SatelliteNames
{
public:
    std::uint32_t Index(const std::string& name)
    {
        return m_indexes.try_emplace(name, static_cast<std::uint32_t>(m_indexes.size())).first->second;
    }

private:
    std::unordered_map<std::string, std::uint32_t> m_indexes;
};

// A program with a satellite and a transponder: what it matches by, and its position in its list.
struct Entry
{
    std::uint32_t sat;
    std::uint32_t tpWord;
    std::uint32_t serviceId;
    std::size_t position;
    const CProgNode* prog;
};

std::vector<Entry> Entries(const CProgDb& db, SatelliteNames& names)
{
    std::unordered_map<std::int32_t, std::uint32_t> satNames;
    for (const CSatNode& sat : db.Sats()) {
        satNames.try_emplace(sat.Id(), names.Index(sat.Name())); // the first node of a shared id, as Find
    }
    std::vector<Entry> entries;
    entries.reserve(db.Progs().Count());
    std::size_t position = 0;
    for (const CProgNode& prog : db.Progs()) {
        const CTpNode* tp = db.Tps().Find(prog.ParentId());
        const auto sat = tp == nullptr ? satNames.end() : satNames.find(tp->ParentId());
        if (sat != satNames.end()) {
            entries.push_back({sat->second, tp->TpRecord() & kComparedTpBits, prog.ServiceId(), position, &prog});
        }
        ++position;
    }
    return entries;
}

// Pairs the entries of both sides with equal keys, the k-th of one side with the k-th of the other
// (both sorted by key, then position), writing the reference position into ranks.
template <class Key>
void Pair(std::vector<std::pair<Key, std::size_t>>& ours,
          std::vector<std::pair<Key, std::size_t>>& theirs,
          std::vector<std::size_t>& ranks,
          std::vector<bool>& taken)
{
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    auto our = ours.begin();
    auto their = theirs.begin();
    while (our != ours.end() && their != theirs.end()) {
        if (our->first < their->first) {
            ++our;
        } else if (their->first < our->first) {
            ++their;
        } else {
            ranks[our->second] = their->second;
            taken[their->second] = true;
            ++our;
            ++their;
        }
    }
}

using ServiceKey = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>;
using NameKey = std::pair<std::uint32_t, std::string>;

std::vector<std::pair<ServiceKey, std::size_t>> ServiceKeys(const std::vector<Entry>& entries)
{
    std::vector<std::pair<ServiceKey, std::size_t>> keys;
    keys.reserve(entries.size());
    for (const Entry& entry : entries) {
        keys.emplace_back(ServiceKey{entry.sat, entry.tpWord, entry.serviceId}, entry.position);
    }
    return keys;
}

// The name keys of the entries still without a partner.
std::vector<std::pair<NameKey, std::size_t>> NameKeys(const std::vector<Entry>& entries,
                                                      const std::vector<bool>& paired)
{
    std::vector<std::pair<NameKey, std::size_t>> keys;
    for (const Entry& entry : entries) {
        if (!paired[entry.position]) {
            keys.emplace_back(NameKey{entry.sat, entry.prog->ProgName()}, entry.position);
        }
    }
    return keys;
}

} // namespace

std::vector<std::size_t> ReferenceRanks(const CProgDb& db, const CProgDb& reference)
{
    SatelliteNames names;
    const std::vector<Entry> ours = Entries(db, names);
    const std::vector<Entry> theirs = Entries(reference, names);
    std::vector<std::size_t> ranks(db.Progs().Count(), kUnmatched);
    std::vector<bool> taken(reference.Progs().Count(), false);

    auto ourServices = ServiceKeys(ours);
    auto theirServices = ServiceKeys(theirs);
    Pair(ourServices, theirServices, ranks, taken);

    std::vector<bool> matched(ranks.size(), false);
    for (std::size_t i = 0; i < ranks.size(); ++i) {
        matched[i] = ranks[i] != kUnmatched;
    }
    auto ourNames = NameKeys(ours, matched);
    auto theirNames = NameKeys(theirs, taken);
    Pair(ourNames, theirNames, ranks, taken);
    return ranks;
}

} // namespace core
