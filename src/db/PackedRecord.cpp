#include "db/PackedRecord.h"

namespace core {

std::uint32_t LoadLe32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8)
        | (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void StoreLe32(std::uint8_t* bytes, std::uint32_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
    bytes[2] = static_cast<std::uint8_t>(value >> 16);
    bytes[3] = static_cast<std::uint8_t>(value >> 24);
}

namespace {
std::uint32_t Mask(unsigned width)
{
    return width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1u);
}
} // namespace

std::uint32_t GetBitField(std::uint32_t word, unsigned lowBit, unsigned width)
{
    return (word >> lowBit) & Mask(width);
}

std::uint32_t SetBitField(std::uint32_t word, unsigned lowBit, unsigned width, std::uint32_t value)
{
    const std::uint32_t mask = Mask(width) << lowBit;
    return (word & ~mask) | ((value << lowBit) & mask);
}

} // namespace core
