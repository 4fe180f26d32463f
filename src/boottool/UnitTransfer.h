#pragma once

#include "boottool/Console.h"

#include <cstdint>
#include <functional>

namespace boottool {

// How a serial transfer of `total` bytes was cut.
struct UnitTotals
{
    std::uint64_t unit = 0; // bytes per unit: total / 100 + 1
    std::uint64_t count = 0; // bytes moved
};

// Moves `total` bytes in units of total / 100 + 1, printing "\b\b\b%02d%%" with the unit's number before
// each unit, and 100 once the remainder (the unit that would pass the end) has moved. `move` is called
// with each unit's offset and size and returns false when the line failed.
[[nodiscard]] bool MoveInUnits(Console& console,
                               std::uint64_t total,
                               const std::function<bool(std::uint64_t, std::uint64_t)>& move,
                               UnitTotals& totals);

} // namespace boottool
