#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace downloader {

// One region of the receiver's flash as named in config.ini.
struct SegmentInfo
{
    std::string name;
    std::uint32_t start = 0;
    std::uint32_t size = 0;

    bool operator==(const SegmentInfo&) const = default;
};

// The segments in file order; an index of the Section list is an index of this table.
using SegmentTable = std::vector<SegmentInfo>;

} // namespace downloader
