#include "downloader/core/ProgressTracker.h"

namespace downloader {

namespace {

constexpr char kBackspace = '\b';

} // namespace

void ProgressTracker::Reset()
{
    m_tail.clear();
    m_percent = -1;
}

int ProgressTracker::Feed(std::string_view block)
{
    const std::string text = m_tail + std::string(block);
    // A value is a backspace, two or three digits and '%'.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != kBackspace) {
            continue;
        }
        std::size_t j = i + 1;
        int value = 0;
        while (j < text.size() && j - i <= 3 && text[j] >= '0' && text[j] <= '9') {
            value = value * 10 + (text[j] - '0');
            ++j;
        }
        const std::size_t digits = j - i - 1;
        if (digits >= 2 && j < text.size() && text[j] == '%' && value <= 100) {
            m_percent = value;
        }
    }
    const std::size_t keep = text.size() < 4 ? text.size() : 4;
    m_tail = text.substr(text.size() - keep);
    return m_percent;
}

} // namespace downloader
