#include "excel/xml/XmlResultLog.h"

#include "excel/xml/XmlEscape.h"

namespace core {

namespace {

// value itself when short, else its first kMaxValue bytes (less the start of a UTF-8 character cut
// in two) and "...".
std::string Bounded(const std::string& value)
{
    if (value.size() <= XmlResultLog::kMaxValue) {
        return value;
    }
    std::size_t cut = XmlResultLog::kMaxValue;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0U) == 0x80U) {
        --cut; // value[cut] continues a character: cut before that character
    }
    return value.substr(0, cut) + "...";
}

} // namespace

void XmlResultLog::Add(std::string_view entry, std::initializer_list<Attr> attrs)
{
    if (m_text.size() > kLimit) {
        return;
    }
    m_text += '<';
    m_text += entry;
    for (const Attr& attr : attrs) {
        m_text += ' ';
        m_text += attr.first;
        m_text += "=\"";
        m_text += EscapeAttribute(Bounded(attr.second));
        m_text += '"';
    }
    m_text += "/>";
}

} // namespace core
