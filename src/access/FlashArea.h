#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace core {

// A read-only window on bytes taken from a flash image. Every read names its offset and length
// and is checked against the window first, so no field of a damaged image can reach outside it.
class FlashArea
{
public:
    FlashArea() = default;
    explicit FlashArea(std::span<const std::uint8_t> bytes)
        : m_bytes(bytes)
    { }

    std::size_t Size() const { return m_bytes.size(); }

    // True when [offset, offset + length) lies inside the window (no wrap-around possible).
    bool Contains(std::uint64_t offset, std::uint64_t length) const
    {
        return offset <= m_bytes.size() && length <= m_bytes.size() - offset;
    }

    // Little-endian numbers; none when the field is not entirely inside the window.
    [[nodiscard]] std::optional<std::uint32_t> Le32(std::uint64_t offset) const { return LeN(offset, 4); }
    [[nodiscard]] std::optional<std::uint32_t> Le16(std::uint64_t offset) const { return LeN(offset, 2); }
    [[nodiscard]] std::optional<std::uint32_t> U8(std::uint64_t offset) const { return LeN(offset, 1); }

    // A little-endian number of 1 to 4 bytes.
    [[nodiscard]] std::optional<std::uint32_t> LeN(std::uint64_t offset, unsigned size) const
    {
        if (size == 0 || size > 4 || !Contains(offset, size)) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (unsigned i = 0; i < size; ++i) {
            value |= static_cast<std::uint32_t>(m_bytes[offset + i]) << (8 * i);
        }
        return value;
    }

    // A fixed-size record buffer holding the first min(length, N) bytes at offset, zeros after them;
    // none when [offset, offset + length) is not entirely inside. Longer records are cut to the buffer.
    template <std::size_t N>
    std::optional<std::array<std::uint8_t, N>> Record(std::uint64_t offset, std::uint64_t length) const
    {
        if (!Contains(offset, length)) {
            return std::nullopt;
        }
        std::array<std::uint8_t, N> buffer{};
        const std::size_t used = length < N ? static_cast<std::size_t>(length) : N;
        for (std::size_t i = 0; i < used; ++i) {
            buffer[i] = m_bytes[offset + i];
        }
        return buffer;
    }

    // The bytes [offset, offset + length); an empty span when they are not all inside.
    std::span<const std::uint8_t> Bytes(std::uint64_t offset, std::uint64_t length) const
    {
        if (!Contains(offset, length)) {
            return {};
        }
        return m_bytes.subspan(offset, length);
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

} // namespace core
