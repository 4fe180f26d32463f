#include "downloader/core/OutputText.h"

namespace {

constexpr char kBackspace = '\b';

// Removes the last character, all bytes of it when it is a UTF-8 sequence.
void PopCharacter(std::string& text)
{
    while (text.size() > 1 && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) {
        text.pop_back();
    }
    text.pop_back();
}

} // namespace

void WriteOutputText(IOutputSink& sink, std::string_view text)
{
    std::string pending;
    // Text of this call not yet appended; it follows the sink's text, so a backspace acts on it first
    // and reaches the sink only when nothing is pending, which keeps the edits in the order of the text.
    for (const char c : text) {
        if (c != kBackspace) {
            pending += c;
            continue;
        }
        if (!pending.empty()) {
            if (pending.back() != '\n') {
                PopCharacter(pending);
            }
            continue;
        }
        if (!sink.IsEmpty() && !sink.EndsWithLineBreak()) {
            sink.DeleteLast();
        }
    }
    if (!pending.empty()) {
        sink.Append(pending);
    }
}

std::string_view CutAtPressAnyKey(std::string_view block)
{
    const std::size_t at = block.find(kPressAnyKey);
    return at == std::string_view::npos ? block : block.substr(0, at);
}

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
