#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// Names travel through a workbook either as plain text or, when plain text would not carry them,
// in the escaped byte form: a double quote, then one group "\xHH" per byte, then a double quote.
namespace ExcelNameCodec {

// True when text has the escaped byte form's outline: at least 6 bytes, quoted, and its length
// less the quotes a multiple of 4.
bool LooksEscaped(std::string_view text);

// Decodes text into buffer (see CAccessExcelIn::ParseName for the rules).
[[nodiscard]] bool Parse(std::string_view text, std::uint8_t* buffer, std::size_t size);

// The text a name is written as: the name itself, or the escaped byte form when the plain text
// would come back different (an empty name, a name that looks escaped) or holds control bytes,
// which XML text cannot carry.
std::string Encode(std::string_view name);

} // namespace ExcelNameCodec

} // namespace core
