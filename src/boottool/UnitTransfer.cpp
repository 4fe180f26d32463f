#include "boottool/UnitTransfer.h"

#include "boottool/UnitProgress.h"

namespace boottool {

bool MoveInUnits(Console& console,
                 std::uint64_t total,
                 const std::function<bool(std::uint64_t, std::uint64_t)>& move,
                 UnitTotals& totals)
{
    UnitProgress progress(total);
    totals.unit = progress.Unit();
    totals.count = 0;
    for (;;) {
        console.Out(progress.Reach(totals.count));
        if (totals.count + totals.unit > total) {
            const std::uint64_t rest = total - totals.count;
            if (rest > 0 && !move(totals.count, rest)) {
                return false;
            }
            totals.count += rest;
            console.Out(progress.Finish());
            return true;
        }
        if (!move(totals.count, totals.unit)) {
            return false;
        }
        totals.count += totals.unit;
    }
}

} // namespace boottool
