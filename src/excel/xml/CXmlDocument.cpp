#include "excel/xml/CXmlDocument.h"

#include "common/AtomicFile.h"
#include "excel/xml/XmlBoundary.h"
#include "excel/xml/XmlByteScan.h"
#include "excel/xml/XmlCharsets.h"
#include "excel/xml/XmlEscape.h"
#include "excel/xml/XmlFailureReason.h"
#include "excel/xml/XmlNormalize.h"
#include "excel/xml/XmlParser.h"
#include "excel/xml/XmlTag.h"
#include "platform/NativeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <stdexcept>

namespace core {

namespace {

constexpr std::size_t kMaxText = std::numeric_limits<std::uint32_t>::max() - 1; // offsets are 32-bit
constexpr std::size_t kMaxErrorText = 100;
constexpr std::uint32_t kNameWindow = 64; // bytes read for a tag's name and what follows it

void LogFileError(XmlResultLog& log, int error)
{
    std::string msg = std::strerror(error);
    msg = msg.substr(0, msg.find('\n')).substr(0, kMaxErrorText);
    log.Add("file_error", {{"msg", msg}, {"n", std::to_string(error)}});
}

// Reads a whole file in one piece; the buffer is sized up by one hundredth for conversions.
bool ReadFile(const std::string& path, std::string& out, int& error)
{
    const int fd = platform::OpenFile(path, O_RDONLY);
    if (fd < 0) {
        error = platform::LastErrorNumber();
        return false;
    }
    errno = 0;
    const std::int64_t length = platform::IsRegularFile(fd) ? platform::FileSize(fd) : -1;
    if (length < 0) {
        std::error_code ignored;
        error = errno != 0 ? errno : std::filesystem::is_directory(platform::PathOf(path), ignored) ? EISDIR : EINVAL;
        (void)platform::CloseFile(fd);
        return false;
    }
    const auto size = static_cast<std::size_t>(length);
    if (size > kMaxText) {
        error = EFBIG;
        (void)platform::CloseFile(fd);
        return false;
    }
    out.reserve(size + size / 100);
    platform::AdviseLargePages(out.data(), out.capacity());
    out.resize(size);
    std::size_t done = 0;
    while (done < size) {
        const std::ptrdiff_t got = platform::ReadSome(fd, out.data() + done, size - done);
        if (got <= 0) {
            error = got < 0 ? platform::LastErrorNumber() : EIO;
            (void)platform::CloseFile(fd);
            return false;
        }
        done += static_cast<std::size_t>(got);
    }
    (void)platform::CloseFile(fd);
    return true;
}

std::size_t ByteSum(std::string_view name)
{
    std::size_t sum = 0;
    for (const char c : name) {
        sum += static_cast<unsigned char>(c);
    }
    return sum;
}

} // namespace

CXmlDocument::CXmlDocument()
    : m_store(XmlCodePage::Utf8, "UTF-8")
    , m_asciiAsIs(KeepsAscii(m_codec))
{ }

CXmlDocument::~CXmlDocument() = default;

bool CXmlDocument::LoadFile(std::string_view path)
{
    if (Refuses()) {
        return false;
    }
    m_log.Clear();
    std::string bytes;
    int error = 0;
    if (!ReadFile(std::string(path), bytes, error)) {
        LogFileError(m_log, error);
        m_failure = DescribeXmlFailure(m_log.Text(), {});
        return false;
    }
    std::string text = DecodeDocumentBytes(std::move(bytes), m_bom, m_log, m_codec);
    return Parse(std::move(text));
}

bool CXmlDocument::SaveFile(std::string_view path)
{
    if (Refuses()) {
        return false;
    }
    m_log.Clear();
    const std::string_view text = m_text.Contiguous();
    std::string storage;
    const std::string_view bytes = EncodeDocumentText(text, m_bom, m_log, m_codec, storage);
    if (text.empty()) {
        m_log.Add("write", {{"encoding", "UTF-8"}, {"length", "0"}});
    }
    errno = 0;
    if (!WriteFileAtomically(std::string(path), bytes)) {
        LogFileError(m_log, errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

bool CXmlDocument::SetText(std::string_view text)
{
    m_log.Clear();
    m_bom = XmlBom::None;
    return Parse(ToStored(text));
}

bool CXmlDocument::SetUtf8Text(std::string_view text)
{
    m_log.Clear();
    m_bom = XmlBom::None;
    std::string stored(text);
    bool lossy = false;
    SanitizeUtf8InPlace(stored, lossy);
    if (lossy) {
        m_log.Add("conversion_loss");
    }
    return Parse(std::move(stored));
}

std::string CXmlDocument::Text() const
{
    return ToInternal(m_text.Str());
}

std::string CXmlDocument::ToStored(std::string_view text) const
{
    std::string storage;
    const std::string_view stored = InternalAsStored(text, m_codec, storage);
    return stored.data() == storage.data() ? storage : std::string(stored);
}

std::string_view CXmlDocument::Stored(std::string_view text, std::string& storage) const
{
    if (m_asciiAsIs && IsAsciiText(text)) {
        return text; // names and numbers: the same bytes either side
    }
    return InternalAsStored(text, m_codec, storage);
}

std::string CXmlDocument::ToInternal(std::string_view stored) const
{
    std::string out;
    if (!AppendStoredAsInternal(stored, m_codec, out)) {
        m_log.Add("conversion_loss");
    }
    return out;
}

std::string CXmlDocument::AttrValue(std::string_view raw) const
{
    if (raw.find_first_of("&\t\r\n") == std::string_view::npos && !NeedsConversion(raw, m_codec)) {
        return std::string(raw); // the usual case: nothing to normalise, decode or convert
    }
    std::string normalized;
    AppendNormalizedAttribute(raw, normalized);
    return DecodeReferences(ToInternal(normalized), m_codec);
}

void CXmlDocument::SetPrefixAliases(const std::vector<std::string>& prefixes)
{
    m_prefixAliases.clear();
    for (const std::string& prefix : prefixes) {
        m_prefixAliases.push_back(ToStored(prefix));
    }
}

bool CXmlDocument::CurrentIs(std::string_view name) const
{
    std::string storage;
    return m_pos.current != 0 && NameMatches(m_pos.current, Stored(name, storage));
}

bool CXmlDocument::Parse(std::string&& text)
{
    if (text.size() > kMaxText) {
        LogFileError(m_log, EFBIG);
        text.clear();
    }
    m_text.Assign(std::move(text));
    m_wellFormed = ParseXml(m_text.Contiguous(), m_index, m_log, m_store);
    m_failure = m_wellFormed ? std::string() : DescribeXmlFailure(m_log.Text(), m_text.Contiguous());
    for (auto& bucket : m_saved) {
        bucket.clear();
    }
    Rewind();
    return m_wellFormed;
}

std::string CXmlDocument::NodeName(std::uint32_t node) const
{
    std::string scratch;
    return std::string(TagName(m_text.View(m_index[node].start, StartTagLen(node), scratch)));
}

std::uint32_t CXmlDocument::StartTagLen(std::uint32_t node) const
{
    const XmlNode& n = m_index[node];
    std::string scratch;
    // Start tags are short: read a little of the text, and more only when the tag goes on.
    for (std::uint64_t window = 64;; window *= 2) {
        const auto len = static_cast<std::uint32_t>(std::min<std::uint64_t>(window, n.length));
        const std::size_t gt = StartTagEnd(m_text.View(n.start, len, scratch));
        if (gt != std::string_view::npos) {
            return static_cast<std::uint32_t>(gt + 1);
        }
        if (len == n.length) {
            return n.length;
        }
    }
}

std::uint32_t CXmlDocument::EndTagLen(std::uint32_t node, std::uint32_t startTagLen) const
{
    const XmlNode& n = m_index[node];
    if (node == 0 || n.empty != 0 || n.unended != 0 || startTagLen == 0) {
        return 0;
    }
    // The end tag ends the element and holds no ">" but its last. Between the last ">" before it
    // and the end tag, the text holds no "</": the reader would have taken that for the end tag
    // (reading on to the same ">"). So the end tag starts at the first "</" after that ">".
    const std::uint32_t low = n.start + startTagLen - 1; // the start tag's ">"
    std::string scratch;
    for (std::uint64_t window = 64;; window *= 2) {
        const std::uint32_t begin = n.End() - low > window ? static_cast<std::uint32_t>(n.End() - window) : low;
        const std::string_view tail = m_text.View(begin, n.End() - begin, scratch);
        const std::size_t gt = tail.size() < 2 ? std::string_view::npos : tail.rfind('>', tail.size() - 2);
        if (gt != std::string_view::npos) {
            const std::size_t open = tail.find("</", gt + 1);
            return open == std::string_view::npos ? 0 : static_cast<std::uint32_t>(tail.size() - open);
        }
        if (begin == low) {
            return 0;
        }
    }
}

bool CXmlDocument::AppendPlainContent(std::uint32_t node, std::uint32_t startTagLen, std::string& out) const
{
    // The first "<" after the start tag opens the end tag (which holds no ">" but its last), and
    // the text before it has nothing to normalise or convert.
    const XmlNode& n = m_index[node];
    if (n.firstChild != 0 || n.empty != 0 || n.unended != 0 || startTagLen == 0 || startTagLen >= n.length) {
        return false;
    }
    std::string scratch;
    const std::string_view rest = m_text.View(n.start + startTagLen, n.length - startTagLen, scratch);
    const std::size_t open = FindByteNear(rest, 0, '<');
    if (open == std::string_view::npos || open + 2 >= rest.size() || rest[open + 1] != '/'
        || FindByteNear(rest, open, '>') != rest.size() - 1) {
        return false;
    }
    const std::string_view text = rest.substr(0, open);
    if (m_asciiAsIs && IsPlainAscii(text)) {
        out.append(text); // nothing to normalise, decode or convert
        return true;
    }
    if (FindByteNear(text, 0, '\r') != std::string_view::npos
        || !((m_asciiAsIs && IsAsciiText(text)) || !NeedsConversion(text, m_codec))) {
        return false;
    }
    AppendDecoded(text, m_codec, out);
    return true;
}

XmlTagLengths CXmlDocument::TagLengths(std::uint32_t node) const
{
    if (node == 0 || node >= m_index.Count()) {
        return {};
    }
    XmlTagLengths lengths;
    lengths.startTag = StartTagLen(node);
    std::string scratch;
    lengths.name
        = static_cast<std::uint32_t>(TagNameLength(m_text.View(m_index[node].start, lengths.startTag, scratch)));
    lengths.endTag = EndTagLen(node, lengths.startTag);
    return lengths;
}

bool CXmlDocument::NameMatches(std::uint32_t node, std::string_view name) const
{
    if (name.empty()) {
        return true;
    }
    const XmlNode& n = m_index[node];
    std::string scratch;
    // "<", the name and the byte after it: a longer name does not end there.
    const std::string_view head
        = m_text.View(n.start, static_cast<std::uint32_t>(std::min<std::size_t>(name.size() + 2, n.length)), scratch);
    const bool same = IgnoringCase() ? NamesEqual(head.substr(1, name.size()), name, true)
                                     : head.size() > name.size() && SameShortBytes(head.substr(1), name);
    if (same && TagNameLength(head) == name.size()) {
        return true;
    }
    if (m_prefixAliases.empty()) {
        return false;
    }
    const std::string full = NodeName(node);
    if (full.size() <= name.size() + 1) {
        return false;
    }
    const std::size_t colon = full.size() - name.size() - 1;
    if (full[colon] != ':' || !NamesEqual(std::string_view(full).substr(colon + 1), name, IgnoringCase())) {
        return false;
    }
    const std::string_view prefix = std::string_view(full).substr(0, colon);
    for (const std::string& alias : m_prefixAliases) {
        if (alias == prefix) {
            return true;
        }
    }
    return false;
}

void CXmlDocument::Rewind()
{
    m_pos = XmlPosition{};
}

void CXmlDocument::SetPosition(const XmlPosition& pos)
{
    const std::uint32_t count = m_index.Count();
    if (pos.parent < count && pos.current < count && pos.child < count) {
        m_pos = pos;
    }
}

bool CXmlDocument::SeekElement(std::string_view name)
{
    std::string storage;
    const std::string_view stored = Stored(name, storage);
    std::uint32_t node = m_pos.current != 0 ? m_index.Next(m_pos.current) : m_index[m_pos.parent].firstChild;
    for (; node != 0; node = m_index.Next(node)) {
        if (NameMatches(node, stored)) {
            m_pos.current = node;
            m_pos.child = 0;
            return true;
        }
    }
    return false;
}

bool CXmlDocument::SeekChildElement(std::string_view name)
{
    if (m_pos.current == 0) {
        return false;
    }
    std::string storage;
    const std::string_view stored = Stored(name, storage);
    std::uint32_t node = m_pos.child != 0 ? m_index.Next(m_pos.child) : m_index[m_pos.current].firstChild;
    for (; node != 0; node = m_index.Next(node)) {
        if (NameMatches(node, stored)) {
            m_pos.child = node;
            return true;
        }
    }
    return false;
}

bool CXmlDocument::EnterChild()
{
    if (m_pos.child == 0) {
        return false;
    }
    m_pos = XmlPosition{m_pos.current, m_pos.child, 0};
    return true;
}

bool CXmlDocument::LeaveElement()
{
    if (m_pos.current == 0) {
        return false;
    }
    m_pos = XmlPosition{m_index.Parent(m_pos.parent), m_pos.parent, m_pos.current};
    if (m_pos.current == 0) {
        m_pos = XmlPosition{0, m_pos.child, 0};
    }
    return true;
}

bool CXmlDocument::HasNoAttributes(std::uint32_t node) const
{
    // "<name>" or "<name/>": the name runs up to the tag's end.
    const XmlNode& n = m_index[node];
    std::string scratch;
    const std::string_view head = m_text.View(n.start, std::min<std::uint32_t>(n.length, kNameWindow), scratch);
    const std::size_t after = 1 + TagNameLength(head);
    return after < head.size()
        && (head[after] == '>' || (head[after] == '/' && after + 1 < head.size() && head[after + 1] == '>'));
}

std::string_view CXmlDocument::StartTag(std::uint32_t node, std::string& scratch) const
{
    return m_text.View(m_index[node].start, StartTagLen(node), scratch);
}

std::string CXmlDocument::AttrOf(std::uint32_t node, std::string_view name) const
{
    if (node == 0) {
        return {};
    }
    if (HasNoAttributes(node)) {
        return {};
    }
    std::string scratch;
    const std::string_view tag = StartTag(node, scratch);
    XmlAttrSpan span;
    std::string storage;
    if (!FindAttribute(tag, Stored(name, storage), IgnoringCase(), span)) {
        return {};
    }
    return AttrValue(tag.substr(span.valueStart, span.valueLen));
}

std::string CXmlDocument::GetAttr(std::string_view name) const
{
    return AttrOf(m_pos.current, name);
}

std::string CXmlDocument::GetChildAttr(std::string_view name) const
{
    return AttrOf(m_pos.child, name);
}

bool CXmlDocument::HasAttr(std::string_view name) const
{
    XmlAttrSpan span;
    std::string storage;
    std::string scratch;
    return m_pos.current != 0
        && FindAttribute(StartTag(m_pos.current, scratch), Stored(name, storage), IgnoringCase(), span);
}

bool CXmlDocument::HasChildAttr(std::string_view name) const
{
    XmlAttrSpan span;
    std::string storage;
    std::string scratch;
    return m_pos.child != 0
        && FindAttribute(StartTag(m_pos.child, scratch), Stored(name, storage), IgnoringCase(), span);
}

std::vector<std::pair<std::string, std::string>> CXmlDocument::GetAttrs() const
{
    std::vector<std::pair<std::string, std::string>> attrs;
    if (m_pos.current == 0) {
        return attrs;
    }
    std::string scratch;
    const std::string_view tag = StartTag(m_pos.current, scratch);
    for (const auto& [name, value] : ListAttributes(tag)) {
        attrs.emplace_back(ToInternal(name), AttrValue(value));
    }
    return attrs;
}

std::string CXmlDocument::GetContent() const
{
    std::string out;
    GetContent(out);
    return out;
}

void CXmlDocument::GetContent(std::string& out) const
{
    out.clear();
    if (m_pos.current == 0) {
        return;
    }
    const XmlNode& n = m_index[m_pos.current];
    const std::uint32_t startTagLen = StartTagLen(m_pos.current);
    if (AppendPlainContent(m_pos.current, startTagLen, out)) {
        return;
    }
    const std::uint32_t endTagLen = EndTagLen(m_pos.current, startTagLen);
    if (n.length <= startTagLen + endTagLen) {
        return;
    }
    std::string scratch;
    const std::string_view inner = m_text.View(n.start + startTagLen, n.length - startTagLen - endTagLen, scratch);
    std::string part;
    std::string converted;
    bool exact = true;
    std::size_t pos = 0;
    while (pos < inner.size()) {
        const std::size_t lt = std::min(inner.find('<', pos), inner.size());
        const std::string_view text = inner.substr(pos, lt - pos);
        if (text.find('\r') == std::string_view::npos
            && ((m_asciiAsIs && IsAsciiText(text)) || !NeedsConversion(text, m_codec))) {
            AppendDecoded(text, m_codec, out); // the usual case: nothing to normalise or convert
        } else {
            part.clear();
            AppendNormalizedLineEnds(text, part);
            converted.clear();
            exact = AppendStoredAsInternal(part, m_codec, converted) && exact;
            AppendDecoded(converted, m_codec, out);
        }
        if (lt == inner.size()) {
            break;
        }
        // Markup inside the content: CDATA is taken as it stands, everything else is skipped.
        std::size_t bodyStart = 0;
        std::size_t bodyEnd = 0;
        pos = MarkupEnd(inner, lt, bodyStart, bodyEnd);
        if (bodyEnd > bodyStart) {
            part.clear();
            AppendNormalizedLineEnds(inner.substr(bodyStart, bodyEnd - bodyStart), part);
            exact = AppendStoredAsInternal(part, m_codec, out) && exact;
        }
    }
    if (!exact) {
        m_log.Add("conversion_loss");
    }
}

std::string CXmlDocument::CurrentName() const
{
    return m_pos.current == 0 ? std::string() : ToInternal(NodeName(m_pos.current));
}

bool CXmlDocument::RememberPosition(std::string_view name)
{
    auto& bucket = m_saved[ByteSum(name) % kPositionBuckets];
    for (auto& entry : bucket) {
        if (entry.first == name) {
            entry.second = m_pos;
            return true;
        }
    }
    bucket.emplace_back(std::string(name), m_pos);
    return true;
}

bool CXmlDocument::ReturnToPosition(std::string_view name)
{
    for (const auto& entry : m_saved[ByteSum(name) % kPositionBuckets]) {
        if (entry.first == name) {
            m_pos = entry.second;
            return true;
        }
    }
    return false;
}

void CXmlDocument::EditText(std::size_t pos, std::size_t removeLen, std::string_view insert)
{
    if (m_text.Size() - removeLen + insert.size() > kMaxText) {
        throw std::length_error("XML document too large");
    }
    m_text.Replace(pos, removeLen, insert);
}

void CXmlDocument::ShiftSubtree(std::uint32_t root, std::int64_t delta)
{
    std::uint32_t node = root;
    while (true) {
        XmlNode& n = m_index[node];
        n.start = static_cast<std::uint32_t>(n.start + delta);
        if (n.firstChild != 0) {
            node = n.firstChild;
            continue;
        }
        while (node != root && m_index[node].last != 0) {
            node = m_index[node].link; // up to the parent
        }
        if (node == root) {
            return;
        }
        node = m_index[node].link;
    }
}

void CXmlDocument::ShiftAfter(std::uint32_t node, std::int64_t delta)
{
    // Everything after node's own subtree moves: its following siblings, then those of each
    // ancestor; and each ancestor, the document included, grows. One walk up does both.
    std::uint32_t at = node;
    while (at != 0) {
        while (m_index[at].last == 0) {
            at = m_index[at].link;
            ShiftSubtree(at, delta);
        }
        at = m_index[at].link; // the parent
        m_index[at].length = static_cast<std::uint32_t>(m_index[at].length + delta);
    }
}

bool CXmlDocument::SetAttrOf(std::uint32_t node, std::string_view name, std::string_view value)
{
    if (node == 0 || !IsValidName(name) || Refuses()) {
        return false;
    }
    XmlNode& n = m_index[node];
    std::string scratch;
    const std::string_view tag = StartTag(node, scratch); // read only before the edit below
    const std::string escaped = EscapeAttribute(value);
    XmlAttrSpan span;
    std::size_t at = 0;
    std::size_t removeLen = 0;
    std::string insert;
    if (FindAttribute(tag, name, IgnoringCase(), span) && span.valueStart > 0
        && (tag[span.valueStart - 1] == '"' || tag[span.valueStart - 1] == '\'')) {
        at = span.valueStart;
        removeLen = span.valueLen;
        insert = escaped; // both quote characters are escaped, so either kind of quote stays valid
    } else {
        at = tag.size() - (n.empty != 0 ? 2 : 1);
        if (tag.back() != '>') {
            at = tag.size(); // a tag cut off by the end of the text
        }
        insert.reserve(name.size() + escaped.size() + 4);
        insert.append(" ").append(name).append("=\"").append(escaped).append("\"");
    }
    const auto delta = static_cast<std::int64_t>(insert.size()) - static_cast<std::int64_t>(removeLen);
    EditText(n.start + at, removeLen, insert);
    if (delta == 0) {
        return true; // same length: no offset moves
    }
    n.length = static_cast<std::uint32_t>(n.length + delta);
    for (std::uint32_t child = n.firstChild; child != 0; child = m_index.Next(child)) {
        ShiftSubtree(child, delta);
    }
    ShiftAfter(node, delta);
    return true;
}

bool CXmlDocument::SetAttr(std::string_view name, std::string_view value)
{
    std::string nameStorage;
    std::string valueStorage;
    return SetAttrOf(m_pos.current, Stored(name, nameStorage), Stored(value, valueStorage));
}

bool CXmlDocument::SetAttr(std::string_view name, long long value)
{
    std::string storage;
    return SetAttrOf(m_pos.current, Stored(name, storage), std::to_string(value));
}

bool CXmlDocument::SetChildAttr(std::string_view name, std::string_view value)
{
    std::string nameStorage;
    std::string valueStorage;
    return SetAttrOf(m_pos.child, Stored(name, nameStorage), Stored(value, valueStorage));
}

bool CXmlDocument::SetChildAttr(std::string_view name, long long value)
{
    std::string storage;
    return SetAttrOf(m_pos.child, Stored(name, storage), std::to_string(value));
}

bool CXmlDocument::AppendChild(std::string_view name, std::string_view text)
{
    std::string nameStorage;
    std::string textStorage;
    const std::string_view stored = Stored(name, nameStorage);
    return InsertChild(stored, ElementMarkup(stored, Stored(text, textStorage), false, {}));
}

bool CXmlDocument::AppendChildWithAttrs(std::string_view name, std::string_view text, std::initializer_list<Attr> attrs)
{
    std::string nameStorage;
    std::string textStorage;
    const std::string_view stored = Stored(name, nameStorage);
    return InsertChild(stored, ElementMarkup(stored, Stored(text, textStorage), false, attrs));
}

bool CXmlDocument::AppendChildCData(std::string_view name, std::string_view text)
{
    std::string nameStorage;
    std::string textStorage;
    const std::string_view stored = Stored(name, nameStorage);
    return InsertChild(stored, ElementMarkup(stored, Stored(text, textStorage), true, {}));
}

bool CXmlDocument::AppendChildHolding(std::string_view name,
                                      std::string_view childName,
                                      std::string_view childText,
                                      std::initializer_list<Attr> childAttrs)
{
    std::string nameStorage;
    std::string childNameStorage;
    std::string textStorage;
    const std::string_view stored = Stored(name, nameStorage);
    const std::string_view storedChild = Stored(childName, childNameStorage);
    if (!IsValidName(storedChild)) {
        return false;
    }
    // "<name>", CR LF, the child, CR LF, "</name>": what opening up "<name/>" for the child writes.
    const std::string child = ElementMarkup(storedChild, Stored(childText, textStorage), false, childAttrs);
    std::string markup;
    markup.reserve(child.size() + stored.size() * 2 + 9);
    markup.append("\r\n<").append(stored).append(">").append(child).append("\r\n</").append(stored).append(">");
    m_index.Reserve(2); // the second Add below cannot throw once the element is in
    if (!InsertChild(stored, markup)) {
        return false;
    }
    const std::uint32_t parent = m_pos.child;
    const std::uint32_t node = m_index.Add();
    XmlNode& c = m_index[node];
    XmlNode& p = m_index[parent];
    const std::string_view element = std::string_view(child).substr(2);
    c.start = static_cast<std::uint32_t>(p.start + stored.size() + 2 + 2);
    c.length = static_cast<std::uint32_t>(element.size());
    c.empty = element[element.size() - 2] == '/' ? 1 : 0;
    c.link = parent;
    c.last = 1;
    p.firstChild = node;
    return true;
}

bool CXmlDocument::AppendChildHoldingEach(std::string_view name,
                                          std::initializer_list<Attr> attrs,
                                          std::string_view childName,
                                          std::string_view grandchildName,
                                          std::initializer_list<Attr> grandchildAttrs,
                                          std::span<const std::string_view> texts)
{
    std::string nameStorage;
    std::string childStorage;
    std::string grandchildStorage;
    const std::string_view stored = Stored(name, nameStorage);
    const std::string_view child = Stored(childName, childStorage);
    const std::string_view grandchild = Stored(grandchildName, grandchildStorage);
    if ((!texts.empty() && (!IsValidName(child) || !IsValidName(grandchild)))
        || texts.size() > XmlNodeIndex::kMaxNode) {
        return false;
    }
    std::string markup;
    markup.append("\r\n<").append(stored);
    AppendAttrs(attrs, markup);
    if (texts.empty()) {
        markup.append("/>");
        return InsertChild(stored, markup);
    }
    markup.append(">");
    std::string grandchildTag = "<";
    grandchildTag.append(grandchild);
    AppendAttrs(grandchildAttrs, grandchildTag);
    std::vector<HeldPair> pairs;
    pairs.reserve(texts.size());
    std::string textStorage;
    for (const std::string_view text : texts) {
        const std::string_view storedText = Stored(text, textStorage);
        HeldPair pair{};
        pair.child = static_cast<std::uint32_t>(markup.size());
        markup.append("\r\n<").append(child).append(">");
        pair.grandchild = static_cast<std::uint32_t>(markup.size() + 2);
        markup.append("\r\n").append(grandchildTag);
        if (storedText.empty()) {
            markup.append("/>");
            pair.grandchildEmpty = true;
        } else {
            markup.append(">");
            AppendEscaped(storedText, false, markup);
            markup.append("</").append(grandchild).append(">");
        }
        pair.grandchildLength = static_cast<std::uint32_t>(markup.size()) - pair.grandchild;
        markup.append("\r\n</").append(child).append(">");
        pair.child += 2;
        pair.childLength = static_cast<std::uint32_t>(markup.size()) - pair.child;
        pairs.push_back(pair);
    }
    markup.append("\r\n</").append(stored).append(">");
    // Offsets above count from the CR LF before the element; make them count from its "<".
    for (HeldPair& pair : pairs) {
        pair.child -= 2;
        pair.grandchild -= 2;
    }
    m_index.Reserve(static_cast<std::uint32_t>(1 + 2 * texts.size())); // no Add below can throw
    if (!InsertChild(stored, markup)) {
        return false;
    }
    IndexHeldPairs(m_pos.child, pairs);
    return true;
}

void CXmlDocument::IndexHeldPairs(std::uint32_t parent, const std::vector<HeldPair>& pairs)
{
    const std::uint32_t base = m_index[parent].start;
    std::uint32_t previous = 0;
    for (const HeldPair& pair : pairs) {
        const std::uint32_t child = m_index.Add();
        const std::uint32_t grandchild = m_index.Add();
        XmlNode& c = m_index[child];
        c.start = base + pair.child;
        c.length = pair.childLength;
        c.firstChild = grandchild;
        c.link = parent;
        c.last = 1;
        XmlNode& g = m_index[grandchild];
        g.start = base + pair.grandchild;
        g.length = pair.grandchildLength;
        g.empty = pair.grandchildEmpty ? 1 : 0;
        g.link = child;
        g.last = 1;
        if (previous == 0) {
            m_index[parent].firstChild = child;
        } else {
            m_index[previous].link = child;
            m_index[previous].last = 0;
        }
        previous = child;
    }
}

void CXmlDocument::AppendAttrs(std::initializer_list<Attr> attrs, std::string& markup) const
{
    for (const auto& [attrName, value] : attrs) {
        std::string nameStorage; // filled only when the text needs converting
        std::string valueStorage;
        markup += ' ';
        markup += Stored(attrName, nameStorage);
        markup += "=\"";
        AppendEscaped(Stored(value, valueStorage), true, markup);
        markup += '"';
    }
}

std::string CXmlDocument::ElementMarkup(std::string_view name,
                                        std::string_view text,
                                        bool cdata,
                                        std::initializer_list<Attr> attrs) const
{
    std::string markup;
    std::size_t size = name.size() * 2 + text.size() + 7;
    for (const auto& [attrName, value] : attrs) {
        size += attrName.size() + value.size() + 4;
    }
    markup.reserve(size);
    markup += "\r\n<";
    markup += name;
    AppendAttrs(attrs, markup);
    const std::string wrapped = cdata ? WrapCData(text) : std::string();
    if (cdata ? wrapped.empty() : text.empty()) {
        markup += "/>";
        return markup;
    }
    markup += '>';
    if (cdata) {
        markup += wrapped;
    } else {
        AppendEscaped(text, false, markup);
    }
    markup += "</";
    markup += name;
    markup += '>';
    return markup;
}

bool CXmlDocument::InsertChild(std::string_view name, std::string_view markup)
{
    const std::uint32_t container = m_pos.current;
    if (container == 0 || !IsValidName(name) || Refuses()) {
        return false;
    }
    // markup is CR LF and the element. Everything that can throw happens before the first change,
    // so a failure changes nothing.
    const std::string_view element = markup.substr(2);
    const bool opensUp = m_index[container].empty != 0;
    std::string opened;
    std::string_view insert = markup;
    std::size_t at = 0;
    std::size_t removeLen = 0;
    const std::uint32_t after = m_pos.child != 0 ? m_pos.child : LastChild(container);
    // Read only when needed: appending after a child does not look at the container's tags.
    const std::uint32_t containerTagLen = opensUp || after == 0 ? StartTagLen(container) : 0;
    if (opensUp) {
        // "<name/>" opens up: "<name>", CR LF, the child, CR LF, "</name>".
        const std::string parentName = NodeName(container);
        opened.reserve(markup.size() + parentName.size() + 6);
        opened.append(">").append(markup).append("\r\n</").append(parentName).append(">");
        insert = opened;
        at = m_index[container].start + containerTagLen - 2;
        removeLen = 2;
    } else {
        at = after != 0 ? m_index[after].End() : m_index[container].End() - EndTagLen(container, containerTagLen);
    }
    m_index.ReserveOne();
    EditText(at, removeLen, insert);

    const std::uint32_t node = m_index.Add();
    XmlNode& c = m_index[node];
    XmlNode& e = m_index[container];
    c.length = static_cast<std::uint32_t>(element.size());
    c.empty = element.size() >= 2 && element[element.size() - 2] == '/' ? 1 : 0;

    // Link after the current child, or as the last child (after is 0 only when there is none).
    if (after != 0) {
        XmlNode& a = m_index[after];
        c.link = a.link;
        c.last = a.last;
        a.link = node;
        a.last = 0;
    } else {
        c.link = container;
        c.last = 1;
        e.firstChild = node;
    }

    const auto delta = static_cast<std::int64_t>(insert.size()) - static_cast<std::int64_t>(removeLen);
    if (opensUp) {
        e.empty = 0;
        e.length = static_cast<std::uint32_t>(e.length + delta);
        c.start = e.start + containerTagLen - 1 + 2;
        ShiftAfter(container, delta);
    } else {
        c.start = static_cast<std::uint32_t>(at + 2);
        ShiftAfter(node, delta);
    }
    m_pos.child = node;
    return true;
}

std::uint32_t CXmlDocument::LastChild(std::uint32_t node) const
{
    std::uint32_t last = m_index[node].firstChild;
    if (last == 0) {
        return 0;
    }
    while (m_index[last].last == 0) {
        last = m_index[last].link;
    }
    return last;
}

} // namespace core
