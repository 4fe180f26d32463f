#include "excel/xml/XmlResultLog.h"

#include "excel/xml/XmlEscape.h"

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
        m_text += EscapeAttribute(attr.second);
        m_text += '"';
    }
    m_text += "/>";
}

bool XmlResultLog::Has(std::string_view entry) const
{
    std::string open = "<";
    open += entry;
    for (std::size_t at = m_text.find(open); at != std::string::npos; at = m_text.find(open, at + 1)) {
        const std::size_t after = at + open.size();
        if (after < m_text.size() && (m_text[after] == ' ' || m_text[after] == '/')) {
            return true;
        }
    }
    return false;
}
