#include "platform/LetterCase.h"

#include <windows.h>

namespace platform {

char32_t LowerCase(char32_t c)
{
    wchar_t unit[2] = {};
    int size = 1;
    if (c >= 0x10000 && c <= 0x10FFFF) {
        unit[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        unit[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        size = 2;
    } else if (c < 0xD800 || (c > 0xDFFF && c < 0x10000)) {
        unit[0] = static_cast<wchar_t>(c);
    } else {
        return c;
    }
    wchar_t lower[2] = {};
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, unit, size, lower, 2, nullptr, nullptr, 0) != size) {
        return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
    }
    if (size == 2) {
        return 0x10000 + ((static_cast<char32_t>(lower[0]) - 0xD800) << 10)
            + (static_cast<char32_t>(lower[1]) - 0xDC00);
    }
    return static_cast<char32_t>(lower[0]);
}

} // namespace platform
