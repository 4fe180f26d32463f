#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// The document text with a gap at the last edit: edits that follow one another through the text
// (as a workbook is written) move only the bytes between them, not the whole tail.
class XmlGapText
{
public:
    // Takes the text over; the gap starts at its end.
    void Assign(std::string&& text);
    std::size_t Size() const { return m_buf.size() - GapLength(); }
    // A view of [pos, pos+len); copied into scratch when the range straddles the gap.
    std::string_view View(std::size_t pos, std::size_t len, std::string& scratch) const
    {
        if (pos + len <= m_gapStart) {
            return {m_buf.data() + pos, len};
        }
        if (pos >= m_gapStart) {
            return {m_buf.data() + pos + GapLength(), len};
        }
        return Joined(pos, len, scratch);
    }
    // Replaces [pos, pos+removeLen) with insert.
    void Replace(std::size_t pos, std::size_t removeLen, std::string_view insert);
    // The whole text as one piece (moves the gap to the end).
    std::string_view Contiguous();
    // A copy of the whole text.
    std::string Str() const;

private:
    std::size_t GapLength() const { return m_gapEnd - m_gapStart; }
    std::string_view Joined(std::size_t pos, std::size_t len, std::string& scratch) const;
    void MoveGap(std::size_t pos);
    void Reserve(std::size_t needed);

    std::string m_buf;
    std::size_t m_gapStart = 0;
    std::size_t m_gapEnd = 0;
};

} // namespace core
