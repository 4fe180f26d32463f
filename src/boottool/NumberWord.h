#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace boottool {

// Reads an address or length word: "0x" or "0X" for hexadecimal, a leading 0 for octal, else decimal.
// The whole word must be digits of its base and fit in 32 bits; anything else gives nullopt.
[[nodiscard]] std::optional<std::uint32_t> ParseNumberWord(std::string_view word);

} // namespace boottool
