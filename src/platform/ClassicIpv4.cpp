#include "platform/ClassicIpv4.h"

#include "platform/HexDigits.h"

#include <array>
#include <cstddef>

namespace platform {

namespace {

[[nodiscard]] bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One part from `pos`: false when it starts with no digit, has a digit its base lacks, or overflows.
// `digits` tells whether it holds a digit of its own ("0x" alone holds none).
[[nodiscard]] bool ReadPart(std::string_view text, std::size_t& pos, std::uint64_t& value, bool& digits)
{
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') {
        return false;
    }
    unsigned base = 10;
    digits = false;
    if (text[pos] == '0') {
        base = 8;
        digits = true;
        ++pos;
        if (pos < text.size() && (text[pos] == 'x' || text[pos] == 'X')) {
            base = 16;
            digits = false;
            ++pos;
        }
    }
    value = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = HexDigitValue(text[pos]);
        if (digit < 0 || (base == 10 && digit > 9) || (base == 8 && digit > 9)) {
            break;
        }
        if (base == 8 && digit > 7) {
            return false; // "08" is no number
        }
        value = value * base + static_cast<unsigned>(digit);
        digits = true;
        if (value > 0xFFFFFFFFu) {
            return false;
        }
    }
    return true;
}

} // namespace

bool ParseClassicIpv4(std::string_view text, std::uint32_t& address)
{
    std::array<std::uint64_t, 4> parts{};
    std::size_t count = 0;
    std::size_t pos = 0;
    bool digits = false; // every part needs a digit of its own ("0x" alone is none)
    for (;;) {
        if (!ReadPart(text, pos, parts[count], digits) || !digits) {
            return false;
        }
        ++count;
        if (pos < text.size() && text[pos] == '.') {
            if (count == parts.size() || parts[count - 1] > 0xFF) {
                return false;
            }
            ++pos;
            continue;
        }
        break;
    }
    if (pos < text.size() && !IsBlank(text[pos])) {
        return false;
    }
    // The last part fills whatever the earlier ones leave.
    const std::array<std::uint64_t, 4> lastMost = {0xFFFFFFFFu, 0xFFFFFFu, 0xFFFFu, 0xFFu};
    const std::uint64_t last = parts[count - 1];
    if (last > lastMost[count - 1]) {
        return false;
    }
    std::uint64_t value = last;
    for (std::size_t index = 0; index + 1 < count; ++index) {
        value |= parts[index] << (24 - 8 * index);
    }
    address = static_cast<std::uint32_t>(value);
    return true;
}

} // namespace platform
