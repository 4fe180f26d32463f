#include "excel/xml/XmlNormalize.h"

namespace core {

void AppendNormalizedLineEnds(std::string_view text, std::string& out)
{
    std::size_t from = 0;
    for (std::size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', from)) {
        out.append(text.substr(from, cr - from));
        out += '\n';
        from = cr + 1;
        if (from < text.size() && text[from] == '\n') {
            ++from;
        }
    }
    out.append(text.substr(from));
}

void AppendNormalizedAttribute(std::string_view value, std::string& out)
{
    const std::size_t start = out.size();
    AppendNormalizedLineEnds(value, out);
    for (std::size_t pos = start; pos < out.size(); ++pos) {
        if (out[pos] == '\t' || out[pos] == '\n') {
            out[pos] = ' ';
        }
    }
}

std::size_t MarkupEnd(std::string_view text, std::size_t lt, std::size_t& bodyStart, std::size_t& bodyEnd)
{
    bodyStart = 0;
    bodyEnd = 0;
    std::string_view close;
    std::size_t body = lt;
    if (text.compare(lt, 9, "<![CDATA[") == 0) {
        close = "]]>";
        body = lt + 9;
    } else if (text.compare(lt, 4, "<!--") == 0) {
        close = "-->";
        body = lt + 4;
    } else if (text.compare(lt, 2, "<?") == 0) {
        close = "?>";
        body = lt + 2;
    }
    if (!close.empty()) {
        const std::size_t end = text.find(close, body);
        if (close == "]]>") {
            bodyStart = body;
            bodyEnd = end == std::string_view::npos ? text.size() : end;
        }
        return end == std::string_view::npos ? text.size() : end + close.size();
    }
    for (std::size_t pos = lt + 1; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '>') {
            return pos + 1;
        }
        if (c == '"' || c == '\'') {
            const std::size_t quote = text.find(c, pos + 1);
            if (quote == std::string_view::npos) {
                return text.size();
            }
            pos = quote;
        }
    }
    return text.size();
}

} // namespace core
