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

std::size_t AsciiPrefixLength(std::string_view text)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    constexpr std::size_t kBlock = 4 * kWord;
    const char* const data = text.data();
    std::size_t pos = 0;
    // Four words at a time while all is ASCII, then word by word, then byte by byte to the first
    // byte at or above 0x80.
    for (; pos + kBlock <= text.size(); pos += kBlock) {
        std::uint64_t w[4] = {};
        std::memcpy(w, data + pos, sizeof(w));
        if (((w[0] | w[1] | w[2] | w[3]) & kHighBits) != 0) {
            break;
        }
    }
    for (; pos + kWord <= text.size(); pos += kWord) {
        std::uint64_t word = 0;
        std::memcpy(&word, data + pos, sizeof(word));
        if ((word & kHighBits) != 0) {
            break;
        }
    }
    while (pos < text.size() && static_cast<unsigned char>(data[pos]) < 0x80) {
        ++pos;
    }
    return pos;
}

} // namespace core
