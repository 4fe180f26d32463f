#include "excel/xml/XmlParser.h"

#include "excel/xml/XmlByteScan.h"
#include "excel/xml/XmlEncoding.h"
#include "excel/xml/XmlNodeIndex.h"
#include "excel/xml/XmlResultLog.h"
#include "excel/xml/XmlTag.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace core {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool CanStartTag(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return c == '!' || c == '/' || c == '?' || c == ':' || c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
        || b >= 0x80;
}

// One pass over the text. Multi selects the scanning that steps over double-byte characters whole.
template <bool Multi>
class Parser
{
public:
    Parser(std::string_view text, XmlNodeIndex& index, XmlResultLog& log, const XmlInternalCodec& codec)
        : m_t(text)
        , m_index(index)
        , m_log(log)
        , m_codec(codec)
    { }

    bool Run();

private:
    std::size_t Step(std::size_t pos) const
    {
        if constexpr (Multi) {
            return pos + m_codec.CharLength(m_t.data() + pos, m_t.size() - pos);
        } else {
            return pos + 1;
        }
    }
    std::size_t FindByte(char c, std::size_t from) const
    {
        if constexpr (!Multi) {
            return FindByteNear(m_t, from, c);
        } else {
            for (std::size_t pos = from; pos < m_t.size(); pos = Step(pos)) {
                if (m_t[pos] == c) {
                    return pos;
                }
            }
            return npos;
        }
    }
    std::size_t FindSeq(std::string_view seq, std::size_t from) const
    {
        if constexpr (!Multi) {
            return from > m_t.size() ? npos : m_t.find(seq, from);
        } else {
            for (std::size_t pos = from; pos < m_t.size(); pos = Step(pos)) {
                if (m_t.compare(pos, seq.size(), seq) == 0) {
                    return pos;
                }
            }
            return npos;
        }
    }
    // The ">" of a start tag; quoted values may hold ">".
    std::size_t FindTagEnd(std::size_t from) const
    {
        if constexpr (!Multi) {
            return QuotedTagEnd(m_t, from);
        }
        for (std::size_t pos = from; pos < m_t.size();) {
            const char c = m_t[pos];
            if (c == '>') {
                return pos;
            }
            if (c == '"' || c == '\'') {
                const std::size_t close = FindByte(c, pos + 1);
                if (close == npos) {
                    return npos;
                }
                pos = close + 1;
            } else {
                pos = Step(pos);
            }
        }
        return npos;
    }
    // The ">" ending a document type; an internal subset in brackets may hold ">".
    std::size_t FindDoctypeEnd(std::size_t from) const
    {
        int depth = 0;
        for (std::size_t pos = from; pos < m_t.size();) {
            const char c = m_t[pos];
            if (depth > 0 && (m_t.compare(pos, 4, "<!--") == 0 || m_t.compare(pos, 2, "<?") == 0)) {
                // A comment or processing instruction of the internal subset may hold any character.
                const bool comment = m_t[pos + 1] == '!';
                const std::size_t close = FindSeq(comment ? "-->" : "?>", pos + (comment ? 4 : 2));
                if (close == npos) {
                    return npos;
                }
                pos = close + (comment ? 3 : 2);
                continue;
            }
            if (c == '[') {
                ++depth;
            } else if (c == ']' && depth > 0) {
                --depth;
            } else if (c == '>' && depth == 0) {
                return pos;
            } else if ((c == '"' || c == '\'') && depth > 0) {
                const std::size_t close = FindByte(c, pos + 1);
                if (close == npos) {
                    return npos;
                }
                pos = close;
            }
            pos = Step(pos);
        }
        return npos;
    }

    void Error(std::string_view entry, std::size_t offset)
    {
        m_illFormed = true;
        if (!m_log.Full()) {
            m_log.Add(entry, {{"offset", LogNum(offset)}});
        }
    }
    void Unterminated(std::string_view type, std::size_t offset)
    {
        m_illFormed = true;
        m_log.Add("unterminated_tag_syntax", {{"type", std::string(type)}, {"offset", LogNum(offset)}});
    }

    std::size_t StartTag(std::size_t p);
    std::size_t EndTag(std::size_t p);
    std::size_t Markup(std::size_t p); // "<!" and "<?"
    void CloseForced(std::uint32_t node, std::size_t at);
    void CountOpenNames();
    std::string_view NameOf(std::uint32_t node) const { return TagName(m_t.substr(m_index[node].start)); }
    // Whether node's name is name, reading no further into its tag than needed.
    bool NameIs(std::uint32_t node, std::string_view name) const
    {
        const std::string_view head = m_t.substr(m_index[node].start, name.size() + 2);
        return head.size() > name.size() && head.compare(1, name.size(), name) == 0
            && TagNameLength(head) == name.size();
    }
    // Whether the end tag whose name runs from nameStart to its ">" at gt (no blank before it, the
    // usual case) ends the innermost open element: the same bytes, and that element's name ends
    // there too. Whatever name the general reading would take from such a tag, it is then the open
    // element's, so both readings agree.
    bool EndsOpenElement(std::size_t nameStart, std::size_t gt) const
    {
        const std::size_t len = gt - nameStart;
        const std::size_t start = m_index[m_open.back().node].start;
        return len > 0 && start + 1 + len < m_t.size() && EndsName(m_t[start + 1 + len])
            && SameShortBytes(m_t.substr(start + 1), m_t.substr(nameStart, len));
    }
    // The last child added to the element being read (the document when none is open).
    std::uint32_t& LastChild() { return m_open.empty() ? m_lastTop : m_open.back().lastChild; }

    struct Open
    {
        std::uint32_t node;
        std::uint32_t lastChild;
    };

    std::string_view m_t;
    XmlNodeIndex& m_index;
    XmlResultLog& m_log;
    const XmlInternalCodec& m_codec;
    std::vector<Open> m_open;
    std::uint32_t m_lastTop = 0;
    bool m_illFormed = false;
    // Counts of open element names, kept only after the first mismatched end tag so that well-formed
    // documents pay nothing and badly nested ones still cost linear time.
    bool m_trackNames = false;
    std::unordered_map<std::string_view, std::uint32_t> m_openNames;
};

template <bool Multi>
bool Parser<Multi>::Run()
{
    m_index.Reset();
    m_index[0].length = static_cast<std::uint32_t>(m_t.size());
    std::size_t pos = 0;
    while (pos < m_t.size()) {
        const std::size_t p = FindByte('<', pos);
        if (p == npos) {
            break;
        }
        if (p + 1 >= m_t.size()) {
            Unterminated("tag", p);
            break;
        }
        const char c = m_t[p + 1];
        if (c == '/') {
            pos = EndTag(p);
        } else if (c == '!' || c == '?') {
            pos = Markup(p);
        } else if (CanStartTag(c)) {
            pos = StartTag(p);
        } else {
            Error("first_tag_syntax", p);
            pos = p + 1;
        }
    }
    while (!m_open.empty()) {
        CloseForced(m_open.back().node, m_t.size());
    }

    XmlNode& doc = m_index[0];
    if (m_illFormed) {
        m_index.SetIllFormed();
    }
    if (doc.firstChild == 0) {
        m_log.Add("no_root_element");
        return false;
    }
    if (m_index.Next(doc.firstChild) != 0) {
        m_log.Add("root_has_sibling");
        return false;
    }
    return !m_illFormed;
}

template <bool Multi>
std::size_t Parser<Multi>::StartTag(std::size_t p)
{
    const std::size_t gt = FindTagEnd(p + 1);
    if (gt == npos) {
        Unterminated("start_tag", p);
        return m_t.size();
    }
    const std::string_view tag = m_t.substr(p, gt + 1 - p);
    const bool empty = tag.size() >= 3 && tag[tag.size() - 2] == '/';

    const std::uint32_t parent = m_open.empty() ? 0 : m_open.back().node;
    const std::uint32_t node = m_index.Add();
    XmlNode& n = m_index[node];
    n.start = static_cast<std::uint32_t>(p);
    n.link = parent;
    n.last = 1;
    std::uint32_t& last = LastChild();
    if (last != 0) {
        m_index[last].link = node;
        m_index[last].last = 0;
    } else {
        m_index[parent].firstChild = node;
    }
    last = node;
    if (empty) {
        n.length = static_cast<std::uint32_t>(tag.size());
        n.empty = 1;
    } else {
        m_open.push_back(Open{node, 0});
        if (m_trackNames) {
            ++m_openNames[TagName(tag)];
        }
    }
    return gt + 1;
}

template <bool Multi>
void Parser<Multi>::CountOpenNames()
{
    m_trackNames = true;
    for (const Open& open : m_open) {
        ++m_openNames[NameOf(open.node)];
    }
}

template <bool Multi>
void Parser<Multi>::CloseForced(std::uint32_t node, std::size_t at)
{
    XmlNode& n = m_index[node];
    n.length = static_cast<std::uint32_t>(at - n.start);
    n.unended = 1;
    m_index[m_index.Parent(node)].childIllFormed = 1; // node is the last child so far: one step
    m_illFormed = true;
    if (!m_log.Full()) {
        m_log.Add("unended_start_tag",
                  {{"tagname", std::string(NameOf(node))}, {"offset", LogNum(n.start)}, {"offset2", LogNum(at)}});
    }
    if (m_trackNames) {
        --m_openNames[NameOf(node)];
    }
    m_open.pop_back();
}

template <bool Multi>
std::size_t Parser<Multi>::EndTag(std::size_t p)
{
    const std::size_t gt = FindByte('>', p + 2);
    if (gt == npos) {
        Unterminated("end_tag", p);
        return m_t.size();
    }
    if (!m_trackNames && !m_open.empty() && EndsOpenElement(p + 2, gt)) {
        XmlNode& n = m_index[m_open.back().node];
        n.length = static_cast<std::uint32_t>(gt + 1 - n.start);
        m_open.pop_back();
        return gt + 1;
    }
    const std::string_view name = TagName(m_t.substr(p, gt + 1 - p));
    const auto close = [&](std::uint32_t node) {
        XmlNode& n = m_index[node];
        n.length = static_cast<std::uint32_t>(gt + 1 - n.start);
        if (m_trackNames) {
            --m_openNames[name];
        }
        m_open.pop_back();
    };
    if (!m_open.empty() && NameIs(m_open.back().node, name)) {
        close(m_open.back().node);
        return gt + 1;
    }
    if (!m_trackNames) {
        CountOpenNames();
    }
    const auto found = m_openNames.find(name);
    if (found == m_openNames.end() || found->second == 0) {
        m_illFormed = true;
        if (!m_log.Full()) {
            m_log.Add("lone_end_tag", {{"tagname", std::string(name)}, {"offset", LogNum(p)}});
        }
        return gt + 1;
    }
    while (NameOf(m_open.back().node) != name) {
        CloseForced(m_open.back().node, p);
    }
    close(m_open.back().node);
    return gt + 1;
}

template <bool Multi>
std::size_t Parser<Multi>::Markup(std::size_t p)
{
    if (m_t[p + 1] == '?') {
        const std::size_t end = FindSeq("?>", p + 2);
        if (end == npos) {
            Unterminated("processing_instruction", p);
            return m_t.size();
        }
        return end + 2;
    }
    if (p + 2 >= m_t.size()) {
        Unterminated("tag", p);
        return m_t.size();
    }
    const char kind = m_t[p + 2];
    if (kind == '-') {
        if (p + 3 >= m_t.size()) {
            Unterminated("comment", p);
            return m_t.size();
        }
        if (m_t[p + 3] != '-') {
            Error("comment_tag_syntax", p);
            return p + 1;
        }
        const std::size_t end = FindSeq("-->", p + 4);
        if (end == npos) {
            Unterminated("comment", p);
            return m_t.size();
        }
        return end + 3;
    }
    if (kind == '[') {
        constexpr std::string_view open = "<![CDATA[";
        if (m_t.size() - p < open.size() && open.starts_with(m_t.substr(p))) {
            Unterminated("cdata_section", p);
            return m_t.size();
        }
        if (m_t.compare(p, open.size(), open) != 0) {
            Error("cdata_section_syntax", p);
            return p + 1;
        }
        const std::size_t end = FindSeq("]]>", p + open.size());
        if (end == npos) {
            Unterminated("cdata_section", p);
            return m_t.size();
        }
        return end + 3;
    }
    if (kind == 'D') {
        constexpr std::string_view open = "<!DOCTYPE";
        if (m_t.size() - p <= open.size() && open.starts_with(m_t.substr(p))) {
            Unterminated("document_type", p);
            return m_t.size();
        }
        if (m_t.compare(p, open.size(), open) != 0 || !IsXmlSpace(m_t[p + open.size()])) {
            Error("doctype_tag_syntax", p);
            return p + 1;
        }
        const std::size_t end = FindDoctypeEnd(p + open.size());
        if (end == npos) {
            Unterminated("document_type", p);
            return m_t.size();
        }
        return end + 1;
    }
    Error("exclamation_tag_syntax", p);
    return p + 1;
}

} // namespace

bool ParseXml(std::string_view text, XmlNodeIndex& index, XmlResultLog& log, const XmlInternalCodec& codec)
{
    if (codec.IsMultiByte()) {
        return Parser<true>(text, index, log, codec).Run();
    }
    return Parser<false>(text, index, log, codec).Run();
}

} // namespace core
