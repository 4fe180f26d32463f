#include "excel/xml/XmlResultLog.h"

#include "excel/xml/XmlEscape.h"

namespace core {

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

} // namespace core
