#pragma once

#include <cstdint>
#include <vector>

namespace core {

class CProgDb;

// For each program in list order: true when an earlier program has the same ServiceId on the same
// transponder, that is one of the same satellite whose record is SameTransponder. A program whose
// transponder is missing is never a duplicate.
std::vector<bool> DuplicateProgramMask(const CProgDb& db);

// The ids of those programs, in list order (what Select Duplicates selects).
std::vector<std::int32_t> FindDuplicatePrograms(const CProgDb& db);

} // namespace core
