#pragma once

#include <array>
#include <cstdint>

namespace core {

// The LNB local-oscillator frequencies in MHz that LocalFre1 and LocalFre2 index.
inline constexpr std::array<std::uint32_t, 10> LnbFreqTable{
    5150, 5700, 5750, 9750, 10000, 10600, 10700, 10750, 11250, 11300};

// The table entry for an index 0-9; 5150 for any other index.
std::uint32_t LnbIndexToMHz(std::uint32_t index);

// The index of the first entry equal to mhz, or -1 (stored in a 4-bit field as 15).
int LnbMHzToIndex(std::uint32_t mhz);

} // namespace core
