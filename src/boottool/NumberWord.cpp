#include "boottool/NumberWord.h"

namespace boottool {

namespace {

[[nodiscard]] int DigitValue(char c)
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
    return 99;
}

} // namespace

std::optional<std::uint32_t> ParseNumberWord(std::string_view word)
{
    unsigned base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        word.remove_prefix(2);
    } else if (word.size() > 1 && word[0] == '0') {
        base = 8;
        word.remove_prefix(1);
    }
    if (word.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : word) {
        const int digit = DigitValue(c);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) {
            return std::nullopt;
        }
        value = value * base + static_cast<unsigned>(digit);
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace boottool
