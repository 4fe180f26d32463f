#include "downloader/core/OutputText.h"

namespace downloader {

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

} // namespace downloader
