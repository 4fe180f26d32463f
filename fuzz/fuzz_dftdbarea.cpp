#include "access/CAccessDftDbOut.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

using core::CAccessDftDbOut;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> image(data, size);
    const auto area = CAccessDftDbOut::FindDefaultDbArea(image);
    if (!area) {
        return 0;
    }
    // The area lies inside the image, starts with the start magic at its first occurrence and
    // holds an end magic followed only by erased bytes.
    if (area->length < 8 || area->start > size || area->length > size - area->start
        || std::memcmp(data + area->start, "Sg8K", 4) != 0
        || CAccessDftDbOut::FindBytes(image, {'S', 'g', '8', 'K'}) != area->start) {
        __builtin_trap();
    }
    std::size_t end = area->start + area->length;
    while (end > area->start && data[end - 1] == 0xFF) {
        --end;
    }
    if (end - area->start < 8 || std::memcmp(data + end - 4, "Eg8K", 4) != 0) {
        __builtin_trap();
    }
    return 0;
}
