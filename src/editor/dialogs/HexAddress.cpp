#include "editor/dialogs/HexAddress.h"

#include <limits>

namespace editor {

namespace {
int HexDigit(char c)
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

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}
} // namespace

std::uint32_t ParseHexAddress(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    // "0x" counts as a prefix only when a digit follows, as the C library reads it.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')
        && HexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    std::uint64_t value = 0;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    for (; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
        value = value * 16 + static_cast<std::uint64_t>(HexDigit(text[i]));
        if (value > kMax) {
            return static_cast<std::uint32_t>(kMax);
        }
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace editor
