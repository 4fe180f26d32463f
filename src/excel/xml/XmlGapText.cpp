#include "excel/xml/XmlGapText.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace core {

void XmlGapText::Assign(std::string&& text)
{
    m_buf = std::move(text);
    m_gapStart = m_gapEnd = m_buf.size();
}

std::string_view XmlGapText::Joined(std::size_t pos, std::size_t len, std::string& scratch) const
{
    scratch.assign(m_buf.data() + pos, m_gapStart - pos);
    scratch.append(m_buf.data() + m_gapEnd, len - (m_gapStart - pos));
    return scratch;
}

void XmlGapText::MoveGap(std::size_t pos)
{
    if (pos < m_gapStart) {
        const std::size_t count = m_gapStart - pos;
        std::memmove(m_buf.data() + m_gapEnd - count, m_buf.data() + pos, count);
        m_gapStart -= count;
        m_gapEnd -= count;
    } else if (pos > m_gapStart) {
        const std::size_t count = pos - m_gapStart;
        std::memmove(m_buf.data() + m_gapStart, m_buf.data() + m_gapEnd, count);
        m_gapStart += count;
        m_gapEnd += count;
    }
}

void XmlGapText::Reserve(std::size_t needed)
{
    if (GapLength() >= needed) {
        return;
    }
    const std::size_t tail = m_buf.size() - m_gapEnd;
    // Grow by half at least, so that a long run of inserts costs linear time in all.
    const std::size_t newSize = std::max(m_buf.size() + needed, m_buf.size() + m_buf.size() / 2 + 256);
    m_buf.resize(newSize);
    std::memmove(m_buf.data() + newSize - tail, m_buf.data() + m_gapEnd, tail);
    m_gapEnd = newSize - tail;
}

void XmlGapText::Replace(std::size_t pos, std::size_t removeLen, std::string_view insert)
{
    if (pos > Size() || removeLen > Size() - pos) {
        throw std::out_of_range("XML text edit out of range");
    }
    if (removeLen == insert.size()) {
        // Same length: overwrite where the bytes stand, without moving the gap (a count at the
        // top of a large table changes on every new row).
        for (std::size_t i = 0; i < insert.size(); ++i) {
            const std::size_t at = pos + i;
            m_buf[at < m_gapStart ? at : at + GapLength()] = insert[i];
        }
        return;
    }
    // Grow first: if that throws, the text is as it was.
    Reserve(insert.size() > removeLen ? insert.size() - removeLen : 0);
    MoveGap(pos);
    m_gapEnd += removeLen;
    std::memcpy(m_buf.data() + m_gapStart, insert.data(), insert.size());
    m_gapStart += insert.size();
}

std::string_view XmlGapText::Contiguous()
{
    MoveGap(Size());
    return {m_buf.data(), m_gapStart};
}

std::string XmlGapText::Str() const
{
    std::string out;
    out.reserve(Size());
    out.append(m_buf.data(), m_gapStart);
    out.append(m_buf.data() + m_gapEnd, m_buf.size() - m_gapEnd);
    return out;
}

} // namespace core
