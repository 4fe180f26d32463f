#include "db/LnbFreqTable.h"

namespace core {

std::uint32_t LnbIndexToMHz(std::uint32_t index)
{
    return index < LnbFreqTable.size() ? LnbFreqTable[index] : LnbFreqTable[0];
}

int LnbMHzToIndex(std::uint32_t mhz)
{
    for (std::size_t i = 0; i < LnbFreqTable.size(); ++i) {
        if (LnbFreqTable[i] == mhz) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace core
