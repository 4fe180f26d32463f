#pragma once

#include <string>
#include <string_view>

namespace core {

// Appends text with its line ends as an XML reader sees them: CR LF and a lone CR read as LF.
void AppendNormalizedLineEnds(std::string_view text, std::string& out);
// Appends a raw attribute value as an XML reader sees it: line ends as above, then every tab, CR
// and LF as a blank (references are decoded later, so "&#10;" still gives LF).
void AppendNormalizedAttribute(std::string_view value, std::string& out);
// The end of the markup that starts at text[lt] ("<"): one past its closing "]]>", "-->", "?>" or
// ">" (a ">" inside a quoted attribute value does not end a tag); text.size() when unterminated.
// bodyStart and bodyEnd give the text of a CDATA section (both 0 for other markup).
std::size_t MarkupEnd(std::string_view text, std::size_t lt, std::size_t& bodyStart, std::size_t& bodyEnd);

} // namespace core
