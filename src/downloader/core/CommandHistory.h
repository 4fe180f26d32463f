#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace downloader {

// The hand-typed commands, oldest first and without duplicates, with the Up/Down recall of the
// Command field. The recall index starts at 0 and is never reset, so Up walks from the oldest entry.
class CommandHistory
{
public:
    // Moves an equal entry to the end, or appends the text.
    void Add(const std::string& text);

    // The text the field shows after Up or Down; none when the field stays as it is.
    std::optional<std::string> Up();
    std::optional<std::string> Down();

    const std::vector<std::string>& Entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
    std::size_t m_index = 0;
    std::string m_recalled;
};

} // namespace downloader
