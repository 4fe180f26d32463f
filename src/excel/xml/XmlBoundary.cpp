#include "excel/xml/XmlBoundary.h"

#include "excel/xml/XmlCharsets.h"
#include "excel/xml/XmlEncoding.h"

#include <algorithm>

namespace core {

namespace {

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Code pages whose first 128 bytes are ASCII, so that ASCII text is the same bytes in both.
bool KeepsAscii(const XmlInternalCodec& codec)
{
    const int cp = codec.CodePage();
    return cp != XmlCodePage::Utf7 && cp != XmlCodePage::Utf16Le && cp != XmlCodePage::Utf16Be
        && cp != XmlCodePage::Utf32 && cp != XmlCodePage::Utf32Le && cp != XmlCodePage::Utf32Be && cp != 50220
        && cp != 50221 && cp != 50222 && cp != 50225 && cp != 50227 && cp != 52936;
}

} // namespace

bool AppendStoredAsInternal(std::string_view utf8, const XmlInternalCodec& codec, std::string& out)
{
    if (codec.CodePage() == XmlCodePage::Utf8 || (KeepsAscii(codec) && IsAscii(utf8))) {
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

std::string InternalAsStored(std::string_view text, const XmlInternalCodec& codec)
{
    if (codec.CodePage() == XmlCodePage::Utf8 || (KeepsAscii(codec) && IsAscii(text))) {
        return std::string(text);
    }
    std::string converted;
    bool lossy = false;
    if (!ConvertCodePage(text, codec.CodePage(), XmlCodePage::Utf8, converted, lossy)) {
        return std::string(text);
    }
    return converted;
}

} // namespace core
