#include "edit/ReferenceOrder.h"

#include "db/CProgDb.h"

#include <optional>
#include <string>
#include <unordered_map>

namespace core {

namespace {

constexpr std::uint32_t kComparedTpBits = 0x7FFFFFFFu; // what SameTransponder compares

// The two keys a program matches by. Names hold no NUL, so one separates the parts.
struct ProgramKeys
{
    std::string service; // satellite name, transponder word, ServiceId
    std::string name; // satellite name, program name
};

std::optional<ProgramKeys> KeysOf(const CProgDb& db, const CProgNode& prog)
{
    const CTpNode* tp = db.Tps().Find(prog.ParentId());
    const CSatNode* sat = tp == nullptr ? nullptr : db.Sats().Find(tp->ParentId());
    if (sat == nullptr) {
        return std::nullopt;
    }
    const std::string satName = sat->Name() + '\0';
    std::string service = satName;
    const std::uint32_t word = tp->TpRecord() & kComparedTpBits;
    const std::uint32_t serviceId = prog.ServiceId();
    for (const std::uint32_t byte : {word, word >> 8, word >> 16, word >> 24, serviceId, serviceId >> 8}) {
        service.push_back(static_cast<char>(byte & 0xFF));
    }
    return ProgramKeys{std::move(service), satName + prog.ProgName()};
}

// The reference programs with one key, in reference order, and how many of them are taken.
struct Candidates
{
    std::vector<std::size_t> ranks;
    std::size_t next = 0;
};

class ReferenceIndex
{
public:
    explicit ReferenceIndex(const CProgDb& reference)
    {
        std::size_t rank = 0;
        for (const CProgNode& prog : reference.Progs()) {
            if (const std::optional<ProgramKeys> keys = KeysOf(reference, prog)) {
                m_byService[keys->service].ranks.push_back(rank);
                m_byName[keys->name].ranks.push_back(rank);
            }
            ++rank;
        }
        m_taken.assign(rank, false);
    }

    std::size_t TakeByService(const std::string& key) { return Take(m_byService, key); }
    std::size_t TakeByName(const std::string& key) { return Take(m_byName, key); }

private:
    std::size_t Take(std::unordered_map<std::string, Candidates>& index, const std::string& key)
    {
        const auto found = index.find(key);
        if (found == index.end()) {
            return kUnmatched;
        }
        Candidates& candidates = found->second;
        while (candidates.next < candidates.ranks.size()) {
            const std::size_t rank = candidates.ranks[candidates.next++];
            if (!m_taken[rank]) {
                m_taken[rank] = true;
                return rank;
            }
        }
        return kUnmatched;
    }

    std::unordered_map<std::string, Candidates> m_byService;
    std::unordered_map<std::string, Candidates> m_byName;
    std::vector<bool> m_taken;
};

} // namespace

std::vector<std::size_t> ReferenceRanks(const CProgDb& db, const CProgDb& reference)
{
    ReferenceIndex index(reference);
    std::vector<std::optional<ProgramKeys>> keys;
    keys.reserve(db.Progs().Count());
    for (const CProgNode& prog : db.Progs()) {
        keys.push_back(KeysOf(db, prog));
    }
    std::vector<std::size_t> ranks(keys.size(), kUnmatched);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i]) {
            ranks[i] = index.TakeByService(keys[i]->service);
        }
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] && ranks[i] == kUnmatched) {
            ranks[i] = index.TakeByName(keys[i]->name);
        }
    }
    return ranks;
}

} // namespace core
