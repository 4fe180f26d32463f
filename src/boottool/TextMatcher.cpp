#include "boottool/TextMatcher.h"

namespace boottool {

TextMatcher::TextMatcher(std::string_view text)
    : m_text(text)
    , m_fallback(text.size(), 0)
{
    std::size_t border = 0;
    for (std::size_t i = 1; i < m_text.size(); ++i) {
        while (border > 0 && m_text[i] != m_text[border]) {
            border = m_fallback[border - 1];
        }
        if (m_text[i] == m_text[border]) {
            ++border;
        }
        m_fallback[i] = border;
    }
}

bool TextMatcher::Feed(std::uint8_t byte, std::string& unmatched)
{
    const char raw = static_cast<char>(byte);
    const char c = raw == '\r' ? '\n' : raw;
    while (!m_pending.empty() && m_text[m_pending.size()] != c) {
        const std::size_t keep = m_fallback[m_pending.size() - 1];
        const std::size_t drop = m_pending.size() - keep;
        unmatched.append(m_pending, 0, drop);
        m_pending.erase(0, drop);
    }
    if (m_text.empty()) {
        return true;
    }
    if (m_text[m_pending.size()] != c) {
        unmatched += raw;
        return false;
    }
    m_pending += raw;
    if (m_pending.size() < m_text.size()) {
        return false;
    }
    m_pending.clear();
    return true;
}

} // namespace boottool
