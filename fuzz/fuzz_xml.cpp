#include "excel/xml/CXmlDocument.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using core::CXmlDocument;
using core::XmlNode;
using core::XmlNodeIndex;
using core::XmlPosition;

// Parses arbitrary text, walks every element it found, then edits the first one.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CXmlDocument doc;
    doc.SetText(text);
    const XmlNodeIndex& index = doc.Index();
    const std::size_t stored = doc.Utf8Text().size(); // the text as kept, in UTF-8
    for (std::uint32_t node = 1; node < index.Count(); ++node) {
        const XmlNode& n = index[node];
        const std::uint32_t parent = index.Parent(node);
        if (n.End() > stored || doc.TagLengths(node).startTag > n.length || parent >= node) {
            __builtin_trap(); // every record lies inside the text, below its parent
        }
        doc.SetPosition(XmlPosition{parent, node, 0});
        doc.GetAttr("a");
        doc.GetContent();
        doc.CurrentName();
    }
    doc.Rewind();
    if (doc.SeekElement()) {
        doc.SetAttr("a", "x\"y");
        doc.AppendChild("c", "t<&>");
        doc.SetChildAttr("b", "1");
        doc.AppendChildCData("d", "]]>");
        const std::uint32_t before = doc.Index().Count();
        CXmlDocument again;
        again.SetUtf8Text(doc.Utf8Text());
        if (doc.IsWellFormed() && again.Index().Count() != before) {
            __builtin_trap(); // an edit of a well-formed document must read back as it was indexed
        }
    }
    return 0;
}
