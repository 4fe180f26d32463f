#include "boottool/NumberWord.h"

#include "platform/HexDigits.h"

namespace boottool {

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
        const int digit = platform::HexDigitValue(c);
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
