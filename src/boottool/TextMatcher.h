#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace boottool {

// Finds an awaited text in the board's byte stream, one byte at a time. A CR counts as LF. Bytes that
// can no longer be part of the text are handed back for echoing, in order; a byte that breaks a partial
// match is examined again as a possible start, so "bboot> " still ends a wait for "boot> ".
class TextMatcher
{
public:
    explicit TextMatcher(std::string_view text);

    // Takes one byte; appends to `unmatched` the bytes that are now known not to belong to the text.
    // Returns true once the whole text has been matched.
    bool Feed(std::uint8_t byte, std::string& unmatched);

    // The raw bytes of the partial match held back so far.
    const std::string& Pending() const { return m_pending; }

private:
    std::string m_text;
    std::vector<std::size_t> m_fallback; // longest proper border of each prefix
    std::string m_pending; // raw bytes of the current partial match (CR kept as CR)
};

} // namespace boottool
