#pragma once

#include <string>
#include <string_view>

namespace core {

class XmlInternalCodec;

// Element content: "&", "<" and ">" as references; other bytes copied.
std::string EscapeContent(std::string_view text);
// Attribute values: as content, and both quote characters as references.
std::string EscapeAttribute(std::string_view text);
// Appends text to out escaped as content or, with attribute set, as an attribute value.
void AppendEscaped(std::string_view text, bool attribute, std::string& out);
// A CDATA section holding text; each "]]>" inside splits the section between "]]" and ">".
std::string WrapCData(std::string_view text);

// Replaces character and entity references by their characters in the internal code page. A
// reference is "&", at most 9 characters, ";". One that is unknown, too long or has no exact form
// in the code page stays as it is.
std::string DecodeReferences(std::string_view text, const XmlInternalCodec& codec);
// Appends the decoded form of text to out.
void AppendDecoded(std::string_view text, const XmlInternalCodec& codec, std::string& out);

} // namespace core
