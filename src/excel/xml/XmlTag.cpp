#include "excel/xml/XmlTag.h"

#include <strings.h>

namespace {

bool EndsName(char c)
{
    return IsXmlSpace(c) || c == '>' || c == '/' || c == '=';
}

} // namespace

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

bool FindAttribute(std::string_view tag, std::string_view name, bool ignoreCase, XmlAttrSpan& out)
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
        if (NamesEqual(attrName, name, ignoreCase)) {
            out = XmlAttrSpan{nameStart, valueStart, valueLen};
            return true;
        }
    }
    return false;
}
