#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace downloader {

// The console-like output area as the writer needs it.
class IOutputSink
{
public:
    virtual ~IOutputSink() = default;
    virtual bool IsEmpty() const = 0;
    // The last character is a line break (only asked when not empty).
    virtual bool EndsWithLineBreak() const = 0;
    // Appends text at the end and keeps the end in view.
    virtual void Append(std::string_view text) = 0;
    // Deletes the last character.
    virtual void DeleteLast() = 0;
};

// Appends tool output with the console's backspace rule: a backspace deletes the last character
// unless the area is empty or ends with a line break, so it erases within the current line only.
// Backspaces that land on text of the same call are resolved before the sink is touched, so a flood of
// progress updates costs one append per call instead of one edit per character.
void WriteOutputText(IOutputSink& sink, std::string_view text);

// The prompt some tools print at their end; the front-end drops it with everything after it in the block.
inline constexpr std::string_view kPressAnyKey = "Press any key to continue . . .";

// The block cut before the first prompt (the whole block when there is none).
std::string_view CutAtPressAnyKey(std::string_view block);

} // namespace downloader
