#pragma once

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

namespace core {

// Where an attribute stands inside a start tag: offsets are relative to the tag's "<".
struct XmlAttrSpan
{
    std::size_t nameStart = 0;
    std::size_t valueStart = 0; // first byte of the value, inside the quotes
    std::size_t valueLen = 0;
};

// The tag name of a start tag "<name ...>" (or of an end tag without its "/").
std::string_view TagName(std::string_view tag);

// The offset of the ">" closing the start tag that text begins with (quoted values may hold ">"),
// or npos when text ends first. Scans bytes, so text must be UTF-8 or a single-byte code page.
std::size_t StartTagEnd(std::string_view text);

// Finds an attribute by name in a start tag. Values may be in double or single quotes, or bare.
[[nodiscard]] bool FindAttribute(std::string_view tag, std::string_view name, bool ignoreCase, XmlAttrSpan& out);

// Every attribute of a start tag as (name, raw value), in order.
std::vector<std::pair<std::string_view, std::string_view>> ListAttributes(std::string_view tag);

// Whether text can stand as an element or attribute name: written as it is, it must read back as
// the same one name.
bool IsValidName(std::string_view name);

// Byte comparison, optionally ignoring ASCII case.
bool NamesEqual(std::string_view a, std::string_view b, bool ignoreCase);

inline bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether c ends an element or attribute name.
inline bool EndsName(char c)
{
    return IsXmlSpace(c) || c == '>' || c == '/' || c == '=';
}

// The length of the name of the start tag that text begins with.
inline std::size_t TagNameLength(std::string_view text)
{
    std::size_t end = 1;
    while (end < text.size() && !EndsName(text[end])) {
        ++end;
    }
    return end - 1;
}

} // namespace core
