#include "excel/xml/XmlTag.h"

#include "excel/xml/XmlByteScan.h"

#include <cctype>
#include <strings.h>

namespace core {

bool IsValidName(std::string_view name)
{
    if (name.empty()) {
        return false;
    }
    const auto first = static_cast<unsigned char>(name[0]);
    if (!(std::isalpha(first) != 0 || first == '_' || first == ':' || first >= 0x80)) {
        return false;
    }
    for (const char c : name) {
        if (IsXmlSpace(c) || c == '<' || c == '>' || c == '/' || c == '=' || c == '\'' || c == '"' || c == '&') {
            return false;
        }
    }
    return true;
}

bool NamesEqual(std::string_view a, std::string_view b, bool ignoreCase)
{
    if (a.size() != b.size()) {
        return false;
    }
    return ignoreCase ? strncasecmp(a.data(), b.data(), a.size()) == 0 : a == b;
}

std::string_view TagName(std::string_view tag)
{
    std::size_t begin = 1;
    if (begin < tag.size() && tag[begin] == '/') {
        ++begin;
    }
    std::size_t end = begin;
    while (end < tag.size() && !EndsName(tag[end])) {
        ++end;
    }
    return tag.substr(begin, end - begin);
}

std::size_t StartTagEnd(std::string_view text)
{
    return QuotedTagEnd(text, 1);
}

namespace {

// Calls visit(nameStart, nameLen, valueStart, valueLen) for each attribute until it returns true.
template <typename Visit>
bool ScanAttributes(std::string_view tag, Visit visit)
{
    std::size_t pos = 1 + TagName(tag).size();
    const std::size_t size = tag.size();
    while (pos < size) {
        while (pos < size && (IsXmlSpace(tag[pos]) || tag[pos] == '/')) {
            ++pos;
        }
        if (pos >= size || tag[pos] == '>') {
            return false;
        }
        const std::size_t nameStart = pos;
        while (pos < size && !EndsName(tag[pos])) {
            ++pos;
        }
        const std::string_view attrName = tag.substr(nameStart, pos - nameStart);
        while (pos < size && IsXmlSpace(tag[pos])) {
            ++pos;
        }
        std::size_t valueStart = pos;
        std::size_t valueLen = 0;
        if (pos < size && tag[pos] == '=') {
            ++pos;
            while (pos < size && IsXmlSpace(tag[pos])) {
                ++pos;
            }
            if (pos < size && (tag[pos] == '"' || tag[pos] == '\'')) {
                const char quote = tag[pos++];
                valueStart = pos;
                while (pos < size && tag[pos] != quote) {
                    ++pos;
                }
                valueLen = pos - valueStart;
                if (pos < size) {
                    ++pos;
                }
            } else {
                valueStart = pos;
                while (pos < size && !IsXmlSpace(tag[pos]) && tag[pos] != '>') {
                    ++pos;
                }
                valueLen = pos - valueStart;
            }
        }
        if (attrName.empty()) {
            ++pos; // a stray "=": step over it
            continue;
        }
        if (visit(nameStart, attrName.size(), valueStart, valueLen)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool FindAttribute(std::string_view tag, std::string_view name, bool ignoreCase, XmlAttrSpan& out)
{
    return ScanAttributes(
        tag, [&](std::size_t nameStart, std::size_t nameLen, std::size_t valueStart, std::size_t valueLen) {
            if (NamesEqual(tag.substr(nameStart, nameLen), name, ignoreCase)) {
                out = XmlAttrSpan{nameStart, valueStart, valueLen};
                return true;
            }
            return false;
        });
}

std::vector<std::pair<std::string_view, std::string_view>> ListAttributes(std::string_view tag)
{
    std::vector<std::pair<std::string_view, std::string_view>> list;
    ScanAttributes(tag, [&](std::size_t nameStart, std::size_t nameLen, std::size_t valueStart, std::size_t valueLen) {
        list.emplace_back(tag.substr(nameStart, nameLen), tag.substr(valueStart, valueLen));
        return false;
    });
    return list;
}

} // namespace core
