#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

// Defined here, inline, so that the readers compiled on their own (the fuzzers') need no library.
namespace platform {

// The value of a hexadecimal digit of either case, or -1 for any other character.
[[nodiscard]] constexpr int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The number the hexadecimal digits at the start of text write, up to the first other character
// (0 when text starts with none); a number beyond 32 bits gives 0xFFFFFFFF.
[[nodiscard]] constexpr std::uint32_t LeadingHexValue(std::string_view text)
{
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) {
            break;
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > kMax) {
            return static_cast<std::uint32_t>(kMax);
        }
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace platform
