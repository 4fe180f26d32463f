#include "excel/xml/XmlEncoding.h"

#include "common/CharsetConverter.h"
#include "common/CodePage.h"
#include "excel/xml/XmlBoundary.h"
#include "excel/xml/XmlCharsets.h"
#include "excel/xml/XmlResultLog.h"
#include "excel/xml/XmlTag.h"

#include <algorithm>
#include <strings.h>

namespace core {

namespace {

constexpr std::size_t kDeclarationWindow = 1024;

// Code pages in which every byte below 0x80 is the ASCII character (so pure ASCII needs no conversion).
bool IsAsciiCompatible(int cp)
{
    return cp == XmlCodePage::Utf8 || cp == 20127 || (cp >= 28591 && cp <= 28605) || (cp >= 1250 && cp <= 1258)
        || cp == 874 || cp == 932 || cp == 936 || cp == 949 || cp == 950 || cp == 51932 || cp == 51936 || cp == 51949
        || cp == 54936 || cp == 20866 || cp == 21866 || cp == 437 || (cp >= 850 && cp <= 869) || cp == 38598;
}

bool IsAscii(std::string_view bytes)
{
    return IsAsciiText(bytes);
}

void AppendUtf8(std::uint32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at bytes[pos]; returns its length, 0 when invalid or cut off.
std::size_t DecodeUtf8(std::string_view bytes, std::size_t pos, std::uint32_t& cp)
{
    const auto b0 = static_cast<unsigned char>(bytes[pos]);
    std::size_t len = 0;
    std::uint32_t min = 0;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > bytes.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(bytes[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

// UTF-8 to ISO-8859-1 in place: the result is never longer than the input.
void Utf8ToLatin1InPlace(std::string& text, bool& lossy)
{
    std::size_t out = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        std::uint32_t cp = 0;
        std::size_t len = DecodeUtf8(text, pos, cp);
        if (len == 0) {
            cp = '?';
            len = 1;
            lossy = true;
        } else if (cp > 0xFF) {
            cp = '?';
            lossy = true;
        }
        text[out++] = static_cast<char>(cp);
        pos += len;
    }
    text.resize(out);
}

void Latin1ToUtf8(std::string_view text, std::string& out)
{
    out.clear();
    out.reserve(text.size() + text.size() / 100 + 16);
    for (const char c : text) {
        AppendUtf8(static_cast<unsigned char>(c), out);
    }
}

// UTF-32 little-endian to UTF-8, by the engine: "?" for an invalid value or a lone surrogate.
void Utf32ToUtf8(std::string_view bytes, std::string& out, bool& lossy)
{
    out.clear();
    out.reserve(bytes.size() / 4 + 16);
    for (std::size_t pos = 0; pos + 4 <= bytes.size(); pos += 4) {
        const std::uint32_t cp = static_cast<unsigned char>(bytes[pos])
            | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos + 1])) << 8
            | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos + 2])) << 16
            | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[pos + 3])) << 24;
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += '?';
            lossy = true;
        } else {
            AppendUtf8(cp, out);
        }
    }
}

void Utf8ToUtf32(std::string_view bytes, std::string& out, bool& lossy)
{
    out.clear();
    out.reserve(bytes.size() * 4);
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::uint32_t cp = 0;
        std::size_t len = DecodeUtf8(bytes, pos, cp);
        if (len == 0) {
            cp = '?';
            len = 1;
            lossy = true;
        }
        for (int shift = 0; shift < 32; shift += 8) {
            out += static_cast<char>((cp >> shift) & 0xFF);
        }
        pos += len;
    }
}

bool IconvConvert(std::string_view input, int from, int to, std::string& output, bool& lossy)
{
    const std::string fromName = IconvNameForCodePage(from);
    const std::string toName = IconvNameForCodePage(to);
    if (fromName.empty() || toName.empty()) {
        return false;
    }
    bool loss = false;
    if (!ConvertCharset(input, fromName, toName, output, &loss)) {
        return false;
    }
    lossy = lossy || loss;
    return true;
}

void SwapBytePairs(std::string& bytes)
{
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::swap(bytes[i], bytes[i + 1]);
    }
}

bool StartsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.size() >= prefix.size() && bytes.substr(0, prefix.size()) == prefix;
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view word, std::size_t from = 0)
{
    for (std::size_t at = from; at + word.size() <= text.size(); ++at) {
        if (strncasecmp(text.data() + at, word.data(), word.size()) == 0) {
            return at;
        }
    }
    return std::string_view::npos;
}

std::string AttributeValue(std::string_view tag, std::string_view name)
{
    XmlAttrSpan span;
    if (!FindAttribute(tag, name, true, span)) {
        return {};
    }
    return std::string(tag.substr(span.valueStart, span.valueLen));
}

std::string CharsetFromHtmlHead(std::string_view head)
{
    const std::size_t headEnd = std::min(head.size(), FindIgnoringCase(head, "</head"));
    for (std::size_t at = FindIgnoringCase(head, "<meta"); at < headEnd; at = FindIgnoringCase(head, "<meta", at + 1)) {
        const std::size_t close = head.find('>', at);
        const std::string_view tag
            = head.substr(at, close == std::string_view::npos ? head.size() - at : close - at + 1);
        if (strcasecmp(AttributeValue(tag, "http-equiv").c_str(), "Content-Type") != 0) {
            continue;
        }
        const std::string content = AttributeValue(tag, "content");
        const std::size_t charset = FindIgnoringCase(content, "charset=");
        if (charset == std::string::npos) {
            continue;
        }
        std::size_t end = charset + 8;
        while (end < content.size() && content[end] != ';' && !IsXmlSpace(content[end]) && content[end] != '"'
               && content[end] != '\'') {
            ++end;
        }
        return content.substr(charset + 8, end - charset - 8);
    }
    return {};
}

// The name of the first element, after any declaration, comments and document type.
std::string_view FirstElementName(std::string_view head)
{
    std::size_t pos = 0;
    while ((pos = head.find('<', pos)) != std::string_view::npos && pos + 1 < head.size()) {
        const char next = head[pos + 1];
        if (next == '?' || next == '!') {
            ++pos;
            continue;
        }
        return TagName(head.substr(pos));
    }
    return {};
}

void LogConversion(
    XmlResultLog& log, std::string_view entry, const std::string& encoding, std::size_t length, bool lossy, int target)
{
    log.Add(entry, {{"encoding", encoding}, {"length", LogNum(length)}});
    if (lossy && !CodePageHidesLoss(target)) {
        log.Add("conversion_loss");
    }
}

} // namespace

XmlInternalCodec::XmlInternalCodec()
    : XmlInternalCodec(InternalCodePage().number, InternalCodePage().charset)
{ }

XmlInternalCodec::XmlInternalCodec(int codePage, std::string iconvName)
    : m_codePage(codePage)
    , m_iconvName(std::move(iconvName))
{
    if (m_codePage <= 0) {
        m_codePage = CodePageForCharset(m_iconvName);
    }
    m_leadLength.fill(1);
    ProbeLeadBytes();
}

XmlInternalCodec::~XmlInternalCodec() = default;

bool XmlInternalCodec::IsInternal(int codePage) const
{
    if (codePage == m_codePage && codePage > 0) {
        return true;
    }
    const std::string name = IconvNameForCodePage(codePage);
    return !name.empty() && strcasecmp(name.c_str(), m_iconvName.c_str()) == 0;
}

void XmlInternalCodec::ProbeLeadBytes()
{
    // Only the double-byte code pages have trail bytes that could be taken for markup.
    const bool doubleByte = m_codePage == 932 || m_codePage == 936 || m_codePage == 949 || m_codePage == 950
        || m_codePage == 1361 || m_codePage == 54936 || m_codePage == 20936 || m_codePage == 51936
        || m_codePage == 51949 || m_codePage == 51932 || m_codePage == 20932;
    if (!doubleByte) {
        return;
    }
    CharsetConverter converter(m_iconvName, "UTF-32LE");
    if (!converter.Valid()) {
        return;
    }
    std::string out;
    for (int b = 0x80; b < 0x100; ++b) {
        const char in = static_cast<char>(b);
        converter.Reset();
        out.clear();
        if (converter.Convert(std::string_view(&in, 1), out).outcome == CharsetConverter::Outcome::Incomplete) {
            m_leadLength[static_cast<std::size_t>(b)] = 2;
            m_multiByte = true;
        }
    }
    m_fourByte = m_codePage == 54936;
    if (m_fourByte) {
        for (auto& length : m_leadLength) {
            length = length == 2 ? 4 : length;
        }
    }
}

bool XmlInternalCodec::AppendCodePoint(std::uint32_t codePoint, std::string& out) const
{
    if (codePoint == 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return false;
    }
    if (codePoint < 0x80 && IsAsciiCompatible(m_codePage)) {
        out += static_cast<char>(codePoint);
        return true;
    }
    if (m_codePage == 28591) {
        if (codePoint > 0xFF) {
            return false;
        }
        out += static_cast<char>(codePoint);
        return true;
    }
    std::string utf8;
    AppendUtf8(codePoint, utf8);
    if (m_codePage == XmlCodePage::Utf8) {
        out += utf8;
        return true;
    }
    std::string converted;
    bool lossy = false;
    if (!ConvertCharset(utf8, "UTF-8", m_iconvName, converted, &lossy) || lossy || converted.empty()) {
        return false;
    }
    out += converted;
    return true;
}

bool LooksLikeUtf8(std::string_view bytes, bool& hasHigh)
{
    hasHigh = false;
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        hasHigh = true;
        std::uint32_t cp = 0;
        const std::size_t len = DecodeUtf8(bytes, pos, cp);
        if (len == 0) {
            // A sequence cut off by the end of the data passes; anything else fails.
            const auto b0 = static_cast<unsigned char>(bytes[pos]);
            const std::size_t want = (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
            if (want == 0 || pos + want <= bytes.size()) {
                return false;
            }
            for (std::size_t i = pos + 1; i < bytes.size(); ++i) {
                if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) {
                    return false;
                }
            }
            return true;
        }
        pos += len;
    }
    return true;
}

bool ConvertCodePage(std::string_view input, int from, int to, std::string& output, bool& lossy)
{
    if (from == to) {
        output.assign(input);
        return true;
    }
    if (IsAsciiCompatible(from) && IsAsciiCompatible(to) && IsAscii(input)) {
        output.assign(input);
        return true;
    }
    if (from == XmlCodePage::Utf8 && to == 28591) {
        output.assign(input);
        Utf8ToLatin1InPlace(output, lossy);
        return true;
    }
    if (from == 28591 && to == XmlCodePage::Utf8) {
        Latin1ToUtf8(input, output);
        return true;
    }
    if (from == XmlCodePage::Utf32) {
        std::string utf8;
        Utf32ToUtf8(input, utf8, lossy);
        return ConvertCodePage(utf8, XmlCodePage::Utf8, to, output, lossy);
    }
    if (to == XmlCodePage::Utf32) {
        std::string utf8;
        if (!ConvertCodePage(input, from, XmlCodePage::Utf8, utf8, lossy)) {
            return false;
        }
        Utf8ToUtf32(utf8, output, lossy);
        return true;
    }
    if (from != XmlCodePage::Utf8 && to != XmlCodePage::Utf8) {
        // Through UTF-8, so that a character with no form in the target becomes one "?" whatever
        // its length in the source.
        std::string utf8;
        return IconvConvert(input, from, XmlCodePage::Utf8, utf8, lossy)
            && IconvConvert(utf8, XmlCodePage::Utf8, to, output, lossy);
    }
    return IconvConvert(input, from, to, output, lossy);
}

std::string FindDeclaredEncoding(std::string_view text)
{
    const std::string_view head = text.substr(0, std::min(text.size(), kDeclarationWindow));
    if (head.size() > 5 && strncasecmp(head.data(), "<?xml", 5) == 0 && IsXmlSpace(head[5])) {
        const std::size_t end = head.find("?>");
        const std::string_view declaration = head.substr(0, end == std::string_view::npos ? head.size() : end + 1);
        return AttributeValue(declaration.substr(0, declaration.size()), "encoding");
    }
    if (strcasecmp(std::string(FirstElementName(head)).c_str(), "html") == 0) {
        return CharsetFromHtmlHead(head);
    }
    return {};
}

std::string DecodeDocumentBytes(std::string&& bytes, XmlBom& bom, XmlResultLog& log, const XmlInternalCodec& codec)
{
    const std::size_t length = bytes.size();
    bom = XmlBom::None;
    std::string encoding;
    std::size_t skip = 0;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        bom = XmlBom::Utf8, skip = 3, encoding = "UTF-8";
    } else if (StartsWith(bytes, "\xFF\xFE")) {
        bom = XmlBom::Utf16Le, skip = 2, encoding = "UTF-16LE";
    } else if (StartsWith(bytes, "\xFE\xFF")) {
        bom = XmlBom::Utf16Be, skip = 2, encoding = "UTF-16BE";
    } else if (StartsWith(bytes, std::string_view("<\0\0\0", 4))) {
        encoding = "UTF-32"; // no mark, but "<" as a 32-bit unit says what it is
    } else if (StartsWith(bytes, std::string_view("<\0", 2))) {
        encoding = "UTF-16LE";
    } else if (StartsWith(bytes, std::string_view("\0<", 2))) {
        encoding = "UTF-16BE";
    } else {
        encoding = FindDeclaredEncoding(bytes);
        if (encoding.empty() && !bytes.empty() && bytes[0] == '<') {
            encoding = "UTF-8";
        }
    }
    log.Add("read", {{"encoding", encoding}, {"length", LogNum(length)}});
    if (skip > 0) {
        log.Add("bom");
        bytes.erase(0, skip);
    }

    int cp = encoding.empty() ? XmlCodePage::Unknown : CodePageForCharset(encoding);
    if (cp == XmlCodePage::Utf16Be) {
        SwapBytePairs(bytes);
        log.Add("endian_swap");
        cp = XmlCodePage::Utf16Le;
    }
    if ((cp == XmlCodePage::Utf16Le && bytes.size() % 2 != 0) || (cp == XmlCodePage::Utf32 && bytes.size() % 4 != 0)) {
        log.Add("truncation_error", {{"encoding", encoding}});
        bytes.resize(bytes.size() - bytes.size() % (cp == XmlCodePage::Utf32 ? 4 : 2));
    }
    if (cp == XmlCodePage::Unknown) {
        log.Add("utf8_detection");
        bool hasHigh = false;
        const bool utf8 = LooksLikeUtf8(bytes, hasHigh);
        cp = utf8 && hasHigh ? XmlCodePage::Utf8 : codec.CodePage(); // plain ASCII needs no conversion
    }
    const bool internal = codec.IsInternal(cp);
    if (internal) {
        const std::size_t before = bytes.size();
        bytes.erase(std::remove(bytes.begin(), bytes.end(), '\0'), bytes.end());
        if (bytes.size() != before) {
            log.Add("nulls_removed", {{"count", LogNum(before - bytes.size())}});
        }
    }
    // The document is kept in UTF-8: a file in UTF-8 is taken as it is (a stray byte becomes "?"),
    // any other encoding is converted once here. A code page with no converter is taken as the
    // internal one.
    bool lossy = false;
    std::string text;
    const bool ascii = cp != XmlCodePage::Utf8 && IsAsciiCompatible(cp) && IsAscii(bytes);
    if (cp == XmlCodePage::Utf8 || ascii
        || (!ConvertCodePage(bytes, cp, XmlCodePage::Utf8, text, lossy)
            && !ConvertCodePage(bytes, codec.CodePage(), XmlCodePage::Utf8, text, lossy))) {
        if (!ascii) { // ASCII is already sound UTF-8
            SanitizeUtf8InPlace(bytes, lossy);
        }
        text = std::move(bytes);
    }
    if (!internal) {
        LogConversion(log, "converted_to", codec.IconvName(), text.size(), lossy, codec.CodePage());
    } else if (lossy && !CodePageHidesLoss(codec.CodePage())) {
        log.Add("conversion_loss");
    }
    return text;
}

std::string_view EncodeDocumentText(
    std::string_view text, XmlBom bom, XmlResultLog& log, const XmlInternalCodec& codec, std::string& storage)
{
    bool lossy = false;
    if (bom == XmlBom::Utf16Le || bom == XmlBom::Utf16Be) {
        std::string units;
        if (!ConvertCodePage(text, XmlCodePage::Utf8, XmlCodePage::Utf16Le, units, lossy)) {
            units.assign(text);
        }
        if (bom == XmlBom::Utf16Be) {
            SwapBytePairs(units);
        }
        LogConversion(log,
                      "converted_from",
                      bom == XmlBom::Utf16Le ? "UTF-16LE" : "UTF-16BE",
                      units.size(),
                      lossy,
                      XmlCodePage::Utf16Le);
        storage = bom == XmlBom::Utf16Le ? "\xFF\xFE" : "\xFE\xFF";
        storage += units;
        return storage;
    }
    // A UTF-8 mark says UTF-8 whatever the declaration claims (that is also how it was read).
    std::string encoding = bom == XmlBom::Utf8 ? "UTF-8" : FindDeclaredEncoding(text);
    if (encoding.empty()) {
        encoding = "UTF-8";
    }
    // An encoding with no number is written in the internal code page.
    const int declared = CodePageForCharset(encoding);
    const int cp = declared == XmlCodePage::Unknown ? codec.CodePage() : declared;
    const bool logged = declared != XmlCodePage::Unknown && !codec.IsInternal(declared);
    const std::string_view mark = bom == XmlBom::Utf8 ? "\xEF\xBB\xBF" : "";
    std::string converted;
    if (cp == XmlCodePage::Utf8 || (IsAsciiCompatible(cp) && IsAscii(text))) {
        // Nothing to convert: no copy of a large text.
        if (logged) {
            log.Add("converted_from", {{"encoding", encoding}, {"length", LogNum(text.size())}});
        }
    } else if (ConvertCodePage(text, XmlCodePage::Utf8, cp, converted, lossy)) {
        if (logged) {
            log.Add("converted_from", {{"encoding", encoding}, {"length", LogNum(converted.size())}});
        }
        if (lossy && !CodePageHidesLoss(cp)) {
            log.Add("conversion_loss");
        }
        if (mark.empty()) {
            storage = std::move(converted);
            return storage;
        }
        text = converted;
    }
    if (mark.empty()) {
        return text;
    }
    storage.reserve(mark.size() + text.size());
    storage.assign(mark);
    storage.append(text);
    return storage;
}

void SanitizeUtf8InPlace(std::string& text, bool& lossy)
{
    for (std::size_t pos = 0; pos < text.size();) {
        pos += AsciiPrefixLength(std::string_view(text).substr(pos));
        if (pos == text.size()) {
            break;
        }
        std::uint32_t cp = 0;
        const std::size_t len = DecodeUtf8(text, pos, cp);
        if (len == 0) {
            text[pos++] = '?';
            lossy = true;
        } else {
            pos += len;
        }
    }
}

} // namespace core
