#pragma once

#include "excel/xml/XmlEncoding.h"
#include "excel/xml/XmlGapText.h"
#include "excel/xml/XmlNodeIndex.h"
#include "excel/xml/XmlResultLog.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace core {

// Where the document is being worked on: the current element's parent, the current element and the
// current child (record indexes; 0 means none, and a parent of 0 is the document itself).
struct XmlPosition
{
    std::uint32_t parent = 0;
    std::uint32_t current = 0;
    std::uint32_t child = 0;

    bool operator==(const XmlPosition&) const = default;
};

// The byte lengths of an element's name, start tag and end tag (0 when it has none of its own).
struct XmlTagLengths
{
    std::uint32_t name = 0;
    std::uint32_t startTag = 0;
    std::uint32_t endTag = 0;
};

// The system's own XML reader and writer. The document is one UTF-8 text plus an index of its
// elements; queries read the text through the index and edits rewrite the text in place and fix
// the index up, so no object tree is ever built. Names and values cross into and out of the
// internal code page only at this interface: the document itself never loses a character, and a
// value with no exact form in the code page reads with "?" and logs the loss. Out of memory, or a
// text that would outgrow 4 GB, throws.
class CXmlDocument
{
public:
    // Mode flags.
    static constexpr unsigned ReadOnlyStream = 1; // refuses to load, save or add
    static constexpr unsigned WriteOnlyStream = 2; // refuses to load, save or add
    static constexpr unsigned IgnoreCase = 4; // names compared without regard to ASCII case

    CXmlDocument();
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Reads, decodes and parses a file; false when unreadable or not well-formed.
    [[nodiscard]] bool LoadFile(std::string_view path);
    // Encodes and writes the text (through a temporary file); false when it cannot be written.
    [[nodiscard]] bool SaveFile(std::string_view path);
    // Replaces the document with text (internal code page) and parses it; true when well-formed.
    [[nodiscard]] bool SetText(std::string_view text);
    // Replaces the document with UTF-8 text and parses it; true when well-formed.
    [[nodiscard]] bool SetUtf8Text(std::string_view text);
    // The whole document text, in the internal code page / as kept (UTF-8).
    std::string Text() const;
    std::string Utf8Text() const { return m_text.Str(); }
    bool IsWellFormed() const { return m_wellFormed; }
    // What happened during the last load, save or parse.
    const std::string& ResultLog() const { return m_log.Text(); }
    // Why the last load or parse failed, in words, with the line and column where the text allows
    // ("lone end tag ... at line 3, column 7"); empty after a success.
    const std::string& FailureReason() const { return m_failure; }
    unsigned ModeFlags() const { return m_mode; }
    void SetModeFlags(unsigned flags) { m_mode = flags; }
    // The byte-order mark the document was loaded with (written back the same).
    XmlBom Bom() const { return m_bom; }
    // Element names "p:name" with one of these prefixes also match a search for "name".
    void SetPrefixAliases(const std::vector<std::string>& prefixes);

    // Back to the document start: no parent, no current element, no child.
    void Rewind();
    // The next sibling element with that name (any name when empty) becomes the current element.
    [[nodiscard]] bool SeekElement(std::string_view name = {});
    // The next child element of the current element with that name becomes the current child.
    [[nodiscard]] bool SeekChildElement(std::string_view name = {});
    // The current child becomes the current element.
    [[nodiscard]] bool EnterChild();
    // The current element becomes the current child again (the parent becomes current).
    [[nodiscard]] bool LeaveElement();
    // Adds an element after the current child (last when none), on a new line; it becomes the current child.
    [[nodiscard]] bool AppendChild(std::string_view name, std::string_view text = {});
    // As AppendChild followed by SetChildAttr for each attribute, in one step: either all of it is
    // added or, when memory runs out, nothing.
    using Attr = std::pair<std::string_view, std::string_view>;
    [[nodiscard]] bool
    AppendChildWithAttrs(std::string_view name, std::string_view text, std::initializer_list<Attr> attrs);
    // As AppendChild(name) followed by EnterChild and AppendChildWithAttrs(childName, childText,
    // childAttrs), then LeaveElement, in one edit: the same markup, all of it or nothing. The new
    // element (not its child) becomes the current child.
    [[nodiscard]] bool AppendChildHolding(std::string_view name,
                                          std::string_view childName,
                                          std::string_view childText,
                                          std::initializer_list<Attr> childAttrs);
    // Adds <name attrs> holding, for each text, <childName> holding <grandchildName grandchildAttrs>
    // with the text: the markup AppendChildWithAttrs, EnterChild, AppendChildHolding for each text
    // and LeaveElement write, in one edit, all of it or nothing. The new element becomes the
    // current child.
    [[nodiscard]] bool AppendChildHoldingEach(std::string_view name,
                                              std::initializer_list<Attr> attrs,
                                              std::string_view childName,
                                              std::string_view grandchildName,
                                              std::initializer_list<Attr> grandchildAttrs,
                                              std::span<const std::string_view> texts);
    // As AppendChild, with the text as a CDATA section.
    [[nodiscard]] bool AppendChildCData(std::string_view name, std::string_view text);
    // Sets an attribute of the current element (in place when present, else added at the tag's end).
    [[nodiscard]] bool SetAttr(std::string_view name, std::string_view value);
    [[nodiscard]] bool SetAttr(std::string_view name, long long value);
    // Sets an attribute of the current child.
    [[nodiscard]] bool SetChildAttr(std::string_view name, std::string_view value);
    [[nodiscard]] bool SetChildAttr(std::string_view name, long long value);
    // An attribute of the current element or child, references decoded; empty when missing.
    std::string GetAttr(std::string_view name) const;
    std::string GetChildAttr(std::string_view name) const;
    // Whether the current element or child has that attribute.
    bool HasAttr(std::string_view name) const;
    bool HasChildAttr(std::string_view name) const;
    // The current element's text content, references decoded, CDATA taken as it is.
    std::string GetContent() const;
    // The same into out, which keeps its capacity: for readers that take many values in turn.
    void GetContent(std::string& out) const;
    // Every attribute of the current element as (name, decoded value), in order.
    std::vector<std::pair<std::string, std::string>> GetAttrs() const;
    // Whether the current element's name matches (prefix aliases included).
    bool CurrentIs(std::string_view name) const;
    // The current element's tag name (empty at the document start).
    std::string CurrentName() const;
    // Stores the position under a name (replacing an earlier one of that name) / moves back to it.
    [[nodiscard]] bool RememberPosition(std::string_view name);
    [[nodiscard]] bool ReturnToPosition(std::string_view name);
    // The position as a value, for callers that keep their own cursors.
    XmlPosition Position() const { return m_pos; }
    void SetPosition(const XmlPosition& pos);

    // Read access to the index, for tests and tools.
    const XmlNodeIndex& Index() const { return m_index; }
    // The tag lengths of an element of the index, read from the text.
    XmlTagLengths TagLengths(std::uint32_t node) const;

private:
    static constexpr std::size_t kPositionBuckets = 7;

    [[nodiscard]] bool Parse(std::string&& text);
    std::string ToStored(std::string_view text) const;
    // text itself when it needs no conversion (the usual case), else storage.
    std::string_view Stored(std::string_view text, std::string& storage) const;
    std::string ToInternal(std::string_view stored) const;
    std::string AttrValue(std::string_view raw) const;
    std::string NodeName(std::uint32_t node) const;
    std::uint32_t StartTagLen(std::uint32_t node) const;
    std::uint32_t LastChild(std::uint32_t node) const;
    std::uint32_t EndTagLen(std::uint32_t node, std::uint32_t startTagLen) const;
    // Appends the content of an element whose content is plain text (no markup, no CR, nothing to
    // convert: the usual case), references decoded; false, appending nothing, for any other.
    [[nodiscard]] bool AppendPlainContent(std::uint32_t node, std::uint32_t startTagLen, std::string& out) const;
    // Whether the start tag is the bare name ("<name>" or "<name/>"), read from its first bytes.
    bool HasNoAttributes(std::uint32_t node) const;
    [[nodiscard]] bool NameMatches(std::uint32_t node, std::string_view name) const;
    // A view of the start tag; copied into scratch when the text's gap splits it.
    std::string_view StartTag(std::uint32_t node, std::string& scratch) const;
    std::string AttrOf(std::uint32_t node, std::string_view name) const;
    [[nodiscard]] bool SetAttrOf(std::uint32_t node, std::string_view name, std::string_view value);
    // CR LF and the element: an added element stands on a line of its own. name and text are
    // stored text; the attributes are converted here.
    std::string
    ElementMarkup(std::string_view name, std::string_view text, bool cdata, std::initializer_list<Attr> attrs) const;
    [[nodiscard]] bool InsertChild(std::string_view name, std::string_view markup);
    // Appends " name=\"value\"" for each attribute, converted and escaped.
    void AppendAttrs(std::initializer_list<Attr> attrs, std::string& markup) const;
    // Indexes a new element laid out by AppendChildHoldingEach (offsets from the element's start).
    struct HeldPair
    {
        std::uint32_t child;
        std::uint32_t childLength;
        std::uint32_t grandchild;
        std::uint32_t grandchildLength;
        bool grandchildEmpty;
    };
    void IndexHeldPairs(std::uint32_t parent, const std::vector<HeldPair>& pairs);
    void EditText(std::size_t pos, std::size_t removeLen, std::string_view insert);
    void ShiftSubtree(std::uint32_t root, std::int64_t delta);
    // Moves everything after node's subtree by delta and grows node's ancestors by delta.
    void ShiftAfter(std::uint32_t node, std::int64_t delta);
    bool Refuses() const { return (m_mode & (ReadOnlyStream | WriteOnlyStream)) != 0; }
    bool IgnoringCase() const { return (m_mode & IgnoreCase) != 0; }

    XmlInternalCodec m_codec; // the internal code page, at the interface
    XmlInternalCodec m_store; // UTF-8, the text as kept
    bool m_asciiAsIs; // ASCII text is the same bytes in the internal code page and in UTF-8
    XmlGapText m_text;
    XmlNodeIndex m_index;
    XmlPosition m_pos;
    mutable XmlResultLog m_log; // reading a value can log a conversion loss
    std::array<std::vector<std::pair<std::string, XmlPosition>>, kPositionBuckets> m_saved;
    std::vector<std::string> m_prefixAliases;
    std::string m_failure;
    unsigned m_mode = 0;
    XmlBom m_bom = XmlBom::None;
    bool m_wellFormed = false;
};

} // namespace core
