#include "excel/ExcelNumber.h"

#include <limits>

namespace core {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::uint32_t ParseExcelNumber(std::string_view text)
{
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (magnitude > kMax) {
            return static_cast<std::uint32_t>(kMax);
        }
    }
    const auto value = static_cast<std::uint32_t>(magnitude);
    return negative ? 0u - value : value;
}

} // namespace core
