#include "excel/xml/XmlBoundary.h"

#include "excel/xml/XmlCharsets.h"
#include "excel/xml/XmlEncoding.h"

#include <cstdint>
#include <cstring>

namespace core {

// Code pages whose first 128 bytes are ASCII, so that ASCII text is the same bytes in both.
bool KeepsAscii(const XmlInternalCodec& codec)
{
    const int cp = codec.CodePage();
    return cp != XmlCodePage::Utf7 && cp != XmlCodePage::Utf16Le && cp != XmlCodePage::Utf16Be
        && cp != XmlCodePage::Utf32 && cp != XmlCodePage::Utf32Le && cp != XmlCodePage::Utf32Be && cp != 50220
        && cp != 50221 && cp != 50222 && cp != 50225 && cp != 50227 && cp != 52936;
}

bool NeedsConversion(std::string_view text, const XmlInternalCodec& codec)
{
    return codec.CodePage() != XmlCodePage::Utf8 && !(KeepsAscii(codec) && IsAsciiText(text));
}

bool AppendStoredAsInternal(std::string_view utf8, const XmlInternalCodec& codec, std::string& out)
{
    if (!NeedsConversion(utf8, codec)) {
        out.append(utf8);
        return true;
    }
    std::string converted;
    bool lossy = false;
    if (!ConvertCodePage(utf8, XmlCodePage::Utf8, codec.CodePage(), converted, lossy)) {
        out.append(utf8); // no converter for the code page: the bytes as they are
        return true;
    }
    out.append(converted);
    return !lossy || CodePageHidesLoss(codec.CodePage());
}

std::string_view InternalAsStored(std::string_view text, const XmlInternalCodec& codec, std::string& storage)
{
    if (!NeedsConversion(text, codec)) {
        return text;
    }
    bool lossy = false;
    if (!ConvertCodePage(text, codec.CodePage(), XmlCodePage::Utf8, storage, lossy)) {
        return text;
    }
    return storage;
}

bool IsAsciiText(std::string_view text)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t pos = 0;
    for (; pos + 8 <= text.size(); pos += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + pos, sizeof(word));
        if ((word & kHighBits) != 0) {
            return false;
        }
    }
    for (; pos < text.size(); ++pos) {
        if (static_cast<unsigned char>(text[pos]) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace core
