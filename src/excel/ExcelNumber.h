#pragma once

#include <cstdint>
#include <string_view>

namespace core {

// A cell's text as an unsigned 32-bit number: leading white space skipped, an optional sign,
// then decimal digits up to the first non-digit. No digits give 0; a minus sign negates modulo
// 2^32 ("-1" is 4294967295); a magnitude beyond 32 bits gives 4294967295, the way a 32-bit
// strtoul saturates, rather than wrapping to an unrelated small value.
std::uint32_t ParseExcelNumber(std::string_view text);

} // namespace core
