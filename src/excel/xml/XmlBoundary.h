#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

class XmlInternalCodec;

// The document is kept in UTF-8; values cross into and out of the internal code page only here.

// Appends UTF-8 text to out in the internal code page. A character with no exact form there becomes
// "?"; returns false when that happened (and the code page can tell).
[[nodiscard]] bool AppendStoredAsInternal(std::string_view utf8, const XmlInternalCodec& codec, std::string& out);
// Internal code-page text as UTF-8 (a byte with no Unicode form is replaced): text itself when it
// needs no conversion, else storage holding the converted text.
std::string_view InternalAsStored(std::string_view text, const XmlInternalCodec& codec, std::string& storage);
// Whether text reads differently in UTF-8 and in the internal code page.
bool NeedsConversion(std::string_view text, const XmlInternalCodec& codec);
// Whether ASCII text is the same bytes in UTF-8 and in the code page.
bool KeepsAscii(const XmlInternalCodec& codec);
// How many leading bytes of text are below 0x80: text.size() when all are.
std::size_t AsciiPrefixLength(std::string_view text);
// Whether every byte is below 0x80: names and short values byte by byte, longer texts eight bytes
// at a time.
inline bool IsAsciiText(std::string_view text)
{
    constexpr std::size_t kShort = 16;
    if (text.size() > kShort) {
        return AsciiPrefixLength(text) == text.size();
    }
    unsigned bits = 0;
    for (const char c : text) {
        bits |= static_cast<unsigned char>(c);
    }
    return bits < 0x80;
}

} // namespace core
