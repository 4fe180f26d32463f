#include "downloader/core/CommandHistory.h"

#include <algorithm>

namespace downloader {

void CommandHistory::Add(const std::string& text)
{
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), text), m_entries.end());
    m_entries.push_back(text);
}

std::optional<std::string> CommandHistory::Up()
{
    if (m_entries.empty()) {
        return std::nullopt;
    }
    // Past the newest entry, Up shows the newest again.
    if (m_index < m_entries.size()) {
        m_recalled = m_entries[m_index];
        ++m_index;
    }
    return m_recalled;
}

std::optional<std::string> CommandHistory::Down()
{
    if (m_entries.empty()) {
        return std::nullopt;
    }
    if (m_index == 0) {
        return m_recalled;
    }
    if (m_index >= m_entries.size()) {
        m_index = m_entries.size() - 1;
    }
    if (m_index == 0) {
        return std::nullopt;
    }
    m_recalled = m_entries[m_index - 1];
    --m_index;
    if (m_index == 0) {
        m_index = 1;
    }
    return m_recalled;
}

} // namespace downloader
