#pragma once

#include <cstdint>
#include <string>

namespace boottool {

// The "\b\b\b%02d%%" progress of a transfer of `total` bytes cut into units of total / 100 + 1 bytes:
// each unit's number (from 0) when the transfer reaches the unit's start, and 100 at the end. The unit
// that would pass the end is the last one numbered, so a transfer shows at most 101 numbers and 100.
class UnitProgress
{
public:
    explicit UnitProgress(std::uint64_t total);

    std::uint64_t Unit() const { return m_unit; }
    // The numbers of the units that begin at or before `done` bytes and have not been shown yet.
    [[nodiscard]] std::string Reach(std::uint64_t done);
    // The numbers still to come, then 100.
    [[nodiscard]] std::string Finish();

private:
    std::uint64_t m_unit;
    std::uint64_t m_lastNumber; // the number of the unit that holds the end
    std::uint64_t m_next = 0; // the next number to show
};

} // namespace boottool
