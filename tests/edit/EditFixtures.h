#pragma once

#include "db/CProgDb.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace core {

std::int32_t AddSat(CProgDb& db, const std::string& name);
std::int32_t AddTp(CProgDb& db, std::int32_t sat, std::uint32_t frequency, std::uint32_t polar = 0);
std::int32_t AddProg(CProgDb& db, std::int32_t tp, const std::string& name, std::uint32_t serviceId);

// Three satellites (0 "Astra", 1 "hotbird", 2 "\xC9z\xE9"), five transponders (0 and 2 on
// satellite 0 are the same transponder, 2 with ExtraFlag; 1 on satellite 1 has the same word as 0)
// and twelve programs with mixed-case Latin-1 names, of which 4, 5, 9 and 11 are duplicates.
void BuildSampleDb(CProgDb& db);

// A database of random records; with sharedIds some nodes of each kind share an id as after a
// flash reader (children then hang under whichever node carries the id).
void BuildRandomDb(CProgDb& db, std::mt19937& random, bool sharedIds);

// The ids of a list, in list order.
template <class TNode>
std::vector<std::int32_t> Ids(const CNodeList<TNode>& list)
{
    std::vector<std::int32_t> ids;
    for (const TNode& node : list) {
        ids.push_back(node.Id());
    }
    return ids;
}

} // namespace core
