#include "platform/LetterCase.h"

#include <locale.h>
#include <wctype.h>

namespace platform {

char32_t LowerCase(char32_t c)
{
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (utf8 != static_cast<locale_t>(nullptr)) {
        return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), utf8));
    }
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

} // namespace platform
