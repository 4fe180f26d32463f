#include "editor/dialogs/HexAddress.h"

#include "platform/HexDigits.h"

namespace editor {

namespace {
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
        && platform::HexDigitValue(text[i + 2]) >= 0) {
        i += 2;
    }
    return platform::LeadingHexValue(text.substr(i));
}

} // namespace editor
