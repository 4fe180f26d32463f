#include "boottool/UnitTransfer.h"

namespace boottool {

bool MoveInUnits(Console& console,
                 std::uint64_t total,
                 const std::function<bool(std::uint64_t, std::uint64_t)>& move,
                 UnitTotals& totals)
{
    constexpr std::uint64_t kUnitsPerTransfer = 100;
    totals.unit = total / kUnitsPerTransfer + 1;
    totals.count = 0;
    for (unsigned number = 0;; ++number) {
        console.Out(Format("\b\b\b%02u%%", number));
        if (totals.count + totals.unit > total) {
            const std::uint64_t rest = total - totals.count;
            if (rest > 0 && !move(totals.count, rest)) {
                return false;
            }
            totals.count += rest;
            console.Out(Format("\b\b\b%02u%%", 100u));
            return true;
        }
        if (!move(totals.count, totals.unit)) {
            return false;
        }
        totals.count += totals.unit;
    }
}

} // namespace boottool
