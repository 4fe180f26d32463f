#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace testsupport {

// Builds binary fixtures in a few lines: little-endian words, text, fills, patches at an offset.
class ByteBuilder
{
public:
    ByteBuilder& U8(std::uint8_t v)
    {
        m_bytes.push_back(v);
        return *this;
    }
    ByteBuilder& U16(std::uint16_t v) { return U8(static_cast<std::uint8_t>(v)).U8(static_cast<std::uint8_t>(v >> 8)); }
    ByteBuilder& U32(std::uint32_t v)
    {
        return U16(static_cast<std::uint16_t>(v)).U16(static_cast<std::uint16_t>(v >> 16));
    }
    ByteBuilder& Text(std::string_view text)
    {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    // text, then zero bytes up to size (text longer than size is cut).
    ByteBuilder& FixedText(std::string_view text, std::size_t size)
    {
        for (std::size_t i = 0; i < size; ++i) {
            U8(i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
        }
        return *this;
    }
    ByteBuilder& Fill(std::size_t count, std::uint8_t value)
    {
        m_bytes.insert(m_bytes.end(), count, value);
        return *this;
    }
    // Pads with value up to an absolute offset.
    ByteBuilder& PadTo(std::size_t offset, std::uint8_t value = 0)
    {
        if (m_bytes.size() < offset) {
            Fill(offset - m_bytes.size(), value);
        }
        return *this;
    }
    // Overwrites a little-endian word at an offset that already exists.
    ByteBuilder& PatchU32(std::size_t offset, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) {
            m_bytes.at(offset + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> (8 * i));
        }
        return *this;
    }
    std::size_t Size() const { return m_bytes.size(); }
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
    std::string_view View() const
    {
        return std::string_view(reinterpret_cast<const char*>(m_bytes.data()), m_bytes.size());
    }

private:
    std::vector<std::uint8_t> m_bytes;
};

} // namespace testsupport
