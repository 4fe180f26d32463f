#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// A bit field inside a little-endian 32-bit word of a packed record.
struct BitField
{
    std::size_t byteOffset; // offset of the word in the record
    unsigned lowBit; // bit 0 is the least significant bit
    unsigned width;
};

// Little-endian word access on raw bytes.
std::uint32_t LoadLe32(const std::uint8_t* bytes);
void StoreLe32(std::uint8_t* bytes, std::uint32_t value);

// The field's value as an unsigned number.
std::uint32_t GetBitField(std::uint32_t word, unsigned lowBit, unsigned width);
// Replaces exactly the field's bits with the low bits of value; other bits stay.
std::uint32_t SetBitField(std::uint32_t word, unsigned lowBit, unsigned width, std::uint32_t value);

// A fixed-size record of receiver bytes with bit-field access.
template <std::size_t Size>
class PackedRecord
{
public:
    static constexpr std::size_t kSize = Size;

    std::uint32_t Get(const BitField& field) const
    {
        return GetBitField(Word(field.byteOffset), field.lowBit, field.width);
    }
    void Set(const BitField& field, std::uint32_t value)
    {
        SetWord(field.byteOffset, SetBitField(Word(field.byteOffset), field.lowBit, field.width, value));
    }
    std::uint32_t Word(std::size_t offset) const { return LoadLe32(m_bytes.data() + offset); }
    void SetWord(std::size_t offset, std::uint32_t value) { StoreLe32(m_bytes.data() + offset, value); }

    // A NUL-terminated string stored at [offset, offset + length): the bytes up to the first NUL
    // or the end of the field, never beyond it.
    std::string String(std::size_t offset, std::size_t length) const
    {
        const auto* begin = m_bytes.data() + offset;
        std::size_t n = 0;
        while (n < length && begin[n] != 0) {
            ++n;
        }
        return std::string(reinterpret_cast<const char*>(begin), n);
    }
    // Zero-fills the field and copies at most length bytes of text, stopping at a NUL in text.
    void SetString(std::size_t offset, std::size_t length, std::string_view text)
    {
        auto* begin = m_bytes.data() + offset;
        for (std::size_t i = 0; i < length; ++i) {
            begin[i] = 0;
        }
        for (std::size_t i = 0; i < length && i < text.size() && text[i] != '\0'; ++i) {
            begin[i] = static_cast<std::uint8_t>(text[i]);
        }
    }

    const std::array<std::uint8_t, Size>& Bytes() const { return m_bytes; }
    std::array<std::uint8_t, Size>& Bytes() { return m_bytes; }

    bool operator==(const PackedRecord&) const = default;

private:
    std::array<std::uint8_t, Size> m_bytes{};
};

} // namespace core
