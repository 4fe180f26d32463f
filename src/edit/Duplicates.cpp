#include "edit/Duplicates.h"

#include "db/CProgDb.h"

#include <functional>
#include <unordered_set>

namespace core {

namespace {

// A program's service on its transponder: the satellite, the transponder word without ExtraFlag
// (as SameTransponder compares it) and the ServiceId.
struct ServiceKey
{
    std::int32_t satId;
    std::uint32_t tpWord;
    std::uint32_t serviceId;

    bool operator==(const ServiceKey&) const = default;
};

struct ServiceKeyHash
{
    std::size_t operator()(const ServiceKey& key) const
    {
        const std::uint64_t high
            = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(key.satId)) << 32) | key.tpWord;
        return std::hash<std::uint64_t>()(high) ^ (std::hash<std::uint32_t>()(key.serviceId) * 0x9E3779B97F4A7C15ull);
    }
};

constexpr std::uint32_t kComparedTpBits = 0x7FFFFFFFu; // what SameTransponder compares

} // namespace

std::vector<bool> DuplicateProgramMask(const CProgDb& db)
{
    std::vector<bool> mask;
    mask.reserve(db.Progs().Count());
    std::unordered_set<ServiceKey, ServiceKeyHash> seen;
    seen.reserve(db.Progs().Count());
    for (const CProgNode& prog : db.Progs()) {
        const CTpNode* tp = db.Tps().Find(prog.ParentId());
        if (tp == nullptr) {
            mask.push_back(false);
            continue;
        }
        const ServiceKey key{tp->ParentId(), tp->TpRecord() & kComparedTpBits, prog.ServiceId()};
        mask.push_back(!seen.insert(key).second);
    }
    return mask;
}

std::vector<std::int32_t> FindDuplicatePrograms(const CProgDb& db)
{
    const std::vector<bool> mask = DuplicateProgramMask(db);
    std::vector<std::int32_t> ids;
    std::size_t i = 0;
    for (const CProgNode& prog : db.Progs()) {
        if (mask[i++]) {
            ids.push_back(prog.Id());
        }
    }
    return ids;
}

} // namespace core
