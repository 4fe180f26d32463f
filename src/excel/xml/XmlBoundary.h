#pragma once

#include <string>
#include <string_view>

namespace core {

class XmlInternalCodec;

// The document is kept in UTF-8; values cross into and out of the internal code page only here.

// Appends UTF-8 text to out in the internal code page. A character with no exact form there becomes
// "?"; returns false when that happened (and the code page can tell).
[[nodiscard]] bool AppendStoredAsInternal(std::string_view utf8, const XmlInternalCodec& codec, std::string& out);
// Internal code-page text as UTF-8 (a byte with no Unicode form is replaced).
std::string InternalAsStored(std::string_view text, const XmlInternalCodec& codec);

} // namespace core
