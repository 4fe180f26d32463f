#pragma once

#include <string>
#include <string_view>

namespace downloader {

// Follows the tool's "\b\b\b%02d%%" progress in its output, also across blocks.
class ProgressTracker
{
public:
    // Feeds one block; returns the newest percentage seen so far, or -1 before the first.
    int Feed(std::string_view block);
    int Percent() const { return m_percent; }
    void Reset();

private:
    std::string m_tail; // the end of the previous block, in case a value is split between blocks
    int m_percent = -1;
};

} // namespace downloader
