#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace core {

// What happened during the last load, save or parse, as a string of empty elements such as
// <read encoding="UTF-8" length="42"/>. The log is itself XML, so it can be loaded with SetText.
class XmlResultLog
{
public:
    static constexpr std::size_t kLimit = 999; // entries stop once the log is longer than this
    // A longer attribute value (a tag name the length of the document) is cut to this many bytes,
    // at a character's start, and marked with "..." so that one entry cannot outgrow the log.
    static constexpr std::size_t kMaxValue = 128;

    using Attr = std::pair<std::string_view, std::string>;

    void Clear() { m_text.clear(); }
    // No further entry would be added (callers skip building one).
    bool Full() const { return m_text.size() > kLimit; }
    // Appends an entry unless the log is already over its limit.
    void Add(std::string_view entry, std::initializer_list<Attr> attrs = {});
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

// Attribute value helpers for log entries.
inline std::string LogNum(std::uint64_t n)
{
    return std::to_string(n);
}

} // namespace core
