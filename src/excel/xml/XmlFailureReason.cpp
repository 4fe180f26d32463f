#include "excel/xml/XmlFailureReason.h"

#include "excel/xml/XmlTag.h"

#include <algorithm>
#include <cstdlib>

namespace core {

namespace {

std::string Value(std::string_view entry, std::string_view name)
{
    XmlAttrSpan span;
    if (!FindAttribute(entry, name, false, span)) {
        return {};
    }
    return std::string(entry.substr(span.valueStart, span.valueLen));
}

std::string Words(std::string text)
{
    std::replace(text.begin(), text.end(), '_', ' ');
    return text;
}

// The reason an entry gives, or empty when it is not a failure.
std::string Reason(std::string_view name, std::string_view entry)
{
    if (name == "file_error") {
        return Value(entry, "msg");
    }
    if (name == "no_root_element") {
        return "no root element";
    }
    if (name == "root_has_sibling") {
        return "more than one root element";
    }
    if (name == "unterminated_tag_syntax") {
        return "unterminated " + Words(Value(entry, "type"));
    }
    if (name == "unended_start_tag") {
        return "element \"" + Value(entry, "tagname") + "\" is not ended";
    }
    if (name == "lone_end_tag") {
        return "end tag \"" + Value(entry, "tagname") + "\" has no start tag";
    }
    if (name.ends_with("_syntax")) {
        return "bad " + Words(std::string(name.substr(0, name.size() - 7)));
    }
    return {};
}

std::string Position(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string_view::npos && lf < offset; lf = text.find('\n', lf + 1)) {
        ++line;
        lineStart = lf + 1;
    }
    std::size_t column = 1;
    for (std::size_t pos = lineStart; pos < offset; ++pos) {
        if ((static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
            ++column; // a UTF-8 continuation byte is part of the character before it
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

} // namespace

std::string DescribeXmlFailure(std::string_view log, std::string_view text)
{
    for (std::size_t lt = log.find('<'); lt != std::string_view::npos; lt = log.find('<', lt + 1)) {
        const std::size_t end = log.find("/>", lt);
        if (end == std::string_view::npos) {
            break;
        }
        const std::string_view entry = log.substr(lt, end + 2 - lt);
        const std::string reason = Reason(TagName(entry), entry);
        if (reason.empty()) {
            continue;
        }
        const std::string offset = Value(entry, "offset");
        if (offset.empty()) {
            return reason;
        }
        return reason + " at " + Position(text, std::strtoull(offset.c_str(), nullptr, 10));
    }
    return {};
}

} // namespace core
