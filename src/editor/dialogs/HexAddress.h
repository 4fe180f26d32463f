#pragma once

#include <cstdint>
#include <string_view>

namespace editor {

// Reads a typed user-database address: leading white space skipped, an optional "0x" prefix,
// hexadecimal digits up to the first other character; too large a number gives 0xFFFFFFFF.
// Text that does not begin with a digit reads as 0.
std::uint32_t ParseHexAddress(std::string_view text);

} // namespace editor
