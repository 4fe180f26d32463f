#include "excel/xml/XmlEscape.h"

#include "excel/xml/XmlEncoding.h"
#include "excel/xml/XmlEntities.h"

#include <cstdint>

namespace core {

namespace {

constexpr std::size_t kMaxReferenceBody = 9; // characters between "&" and ";"

std::string_view ReferenceFor(char c, bool attribute)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return attribute ? "&quot;" : "\"";
    default:
        return attribute ? "&apos;" : "'";
    }
}

std::string Escape(std::string_view text, bool attribute)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    AppendEscaped(text, attribute, out);
    return out;
}

bool ParseNumber(std::string_view digits, int base, std::uint32_t& value)
{
    if (digits.empty()) {
        return false;
    }
    std::uint32_t result = 0;
    for (const char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0) {
            return false;
        }
        result = result * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
        if (result > 0x10FFFF) {
            return false;
        }
    }
    value = result;
    return true;
}

// The code point a reference body (between "&" and ";") stands for, or 0.
std::uint32_t ReferenceCodePoint(std::string_view body)
{
    std::uint32_t value = 0;
    if (body.size() >= 2 && body[0] == '#' && (body[1] == 'x' || body[1] == 'X')) {
        return ParseNumber(body.substr(2), 16, value) ? value : 0;
    }
    if (!body.empty() && body[0] == '#') {
        return ParseNumber(body.substr(1), 10, value) ? value : 0;
    }
    return LookupEntity(body);
}

} // namespace

void AppendEscaped(std::string_view text, bool attribute, std::string& out)
{
    // Runs of plain bytes are copied whole.
    const auto special
        = [attribute](char c) { return c == '&' || c == '<' || c == '>' || (attribute && (c == '"' || c == '\'')); };
    std::size_t from = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (special(text[at])) {
            out.append(text.substr(from, at - from));
            out.append(ReferenceFor(text[at], attribute));
            from = at + 1;
        }
    }
    out.append(text.substr(from));
}

std::string EscapeContent(std::string_view text)
{
    return Escape(text, false);
}

std::string EscapeAttribute(std::string_view text)
{
    return Escape(text, true);
}

std::string WrapCData(std::string_view text)
{
    std::string out = "<![CDATA[";
    std::size_t from = 0;
    for (std::size_t at = text.find("]]>"); at != std::string_view::npos; at = text.find("]]>", from)) {
        out.append(text.substr(from, at + 2 - from));
        out += "]]><![CDATA[";
        from = at + 2;
    }
    out.append(text.substr(from));
    out += "]]>";
    return out;
}

void AppendDecoded(std::string_view text, const XmlInternalCodec& codec, std::string& out)
{
    std::size_t from = 0;
    for (std::size_t amp = text.find('&'); amp != std::string_view::npos; amp = text.find('&', from)) {
        out.append(text.substr(from, amp - from));
        from = amp + 1; // by default the "&" stays a plain character
        out += '&';
        const std::size_t limit = std::min(text.size(), amp + 2 + kMaxReferenceBody);
        const std::size_t semi = text.substr(0, limit).find(';', amp + 1);
        if (semi == std::string_view::npos) {
            continue;
        }
        const std::uint32_t codePoint = ReferenceCodePoint(text.substr(amp + 1, semi - amp - 1));
        if (codePoint == 0) {
            continue;
        }
        out.pop_back();
        if (codec.AppendCodePoint(codePoint, out)) {
            from = semi + 1;
        } else {
            out += '&';
        }
    }
    out.append(text.substr(from));
}

std::string DecodeReferences(std::string_view text, const XmlInternalCodec& codec)
{
    std::string out;
    out.reserve(text.size());
    AppendDecoded(text, codec, out);
    return out;
}

} // namespace core
