#pragma once

#include <string_view>

namespace core {

class XmlNodeIndex;
class XmlResultLog;
class XmlInternalCodec;

// Cuts the text into tokens in one pass and rebuilds the node index from it. Never recurses, never
// reads past the text; every syntax and nesting error is logged and marks record 0 ill-formed.
// Returns whether the document is well-formed (no error, one root element).
[[nodiscard]] bool
ParseXml(std::string_view text, XmlNodeIndex& index, XmlResultLog& log, const XmlInternalCodec& codec);

} // namespace core
