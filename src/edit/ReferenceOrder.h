#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace core {

class CProgDb;

inline constexpr std::size_t kUnmatched = SIZE_MAX;

// Where each program of db (in list order) stands in the reference's program list, or kUnmatched.
// A program matches a reference program on the same satellite (by name) and transponder
// (SameTransponder) with the same ServiceId; the programs left on both sides then match by
// satellite name and program name. Each reference program matches one program at most: the k-th
// program with a key takes the k-th reference program with it. A program whose transponder or
// satellite is missing matches nothing.
std::vector<std::size_t> ReferenceRanks(const CProgDb& db, const CProgDb& reference);

} // namespace core
