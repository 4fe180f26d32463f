#pragma once

#include "support/ByteBuilder.h"

#include <cstdint>
#include <vector>

namespace core {

// Small user-database areas for the flash reader tests, built a few lines per case.
namespace UserDbImages {

inline constexpr std::uint32_t kMagic = 0xAABBCCDD;
inline constexpr std::uint32_t kEnd = 0xDDCCBBAA;
inline constexpr std::uint32_t kNone = 0xFFFFFFFF;

using Bytes = std::vector<std::uint8_t>;

// Little-endian words, back to back, padded with zeros to size bytes (0: no padding).
inline Bytes Words(std::initializer_list<std::uint32_t> words, std::size_t size = 0)
{
    testsupport::ByteBuilder b;
    for (const std::uint32_t w : words) {
        b.U32(w);
    }
    b.PadTo(size);
    return b.Bytes();
}

// A record made of words, then a name field of nameSize bytes at its end.
inline Bytes Record(std::initializer_list<std::uint32_t> words, std::string_view name, std::size_t nameSize)
{
    testsupport::ByteBuilder b;
    for (const std::uint32_t w : words) {
        b.U32(w);
    }
    b.FixedText(name, nameSize);
    return b.Bytes();
}

// One table block of a user-database area.
struct Table
{
    std::uint32_t type;
    std::vector<Bytes> records;
    std::uint16_t recordSize = 48;
    std::uint16_t state = 0xFFFF;
};

// An area: the root header at offset 0, then each table's header, offset table and end word
// chained in the order given, then the records. Returns the area bytes.
inline Bytes Area(const std::vector<Table>& tables)
{
    testsupport::ByteBuilder b;
    b.U32(kMagic).U32(tables.empty() ? kNone : 24).U32(0).U16(0).U16(0xFFFF).U16(0).U16(0).U32(kEnd);
    std::vector<std::size_t> headerAt;
    std::size_t at = b.Size();
    for (const Table& t : tables) {
        headerAt.push_back(at);
        at += 20 + 4 * t.records.size() + 4;
    }
    std::size_t recordAt = at;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const Table& t = tables[i];
        const std::uint32_t next = i + 1 < tables.size() ? static_cast<std::uint32_t>(headerAt[i + 1]) : kNone;
        b.U32(kMagic).U32(next).U32(t.type);
        b.U16(static_cast<std::uint16_t>(t.records.size())).U16(t.state).U16(t.recordSize).U16(0);
        for (const Bytes& r : t.records) {
            b.U32(static_cast<std::uint32_t>(recordAt));
            recordAt += r.size();
        }
        b.U32(kEnd);
    }
    for (const Table& t : tables) {
        for (const Bytes& r : t.records) {
            for (const std::uint8_t byte : r) {
                b.U8(byte);
            }
        }
    }
    return b.Bytes();
}

// An image of erased flash with area placed at offset; size 0 ends the image with the area.
inline Bytes Image(const Bytes& area, std::size_t offset, std::size_t size = 0)
{
    testsupport::ByteBuilder b;
    b.PadTo(offset, 0xFF);
    for (const std::uint8_t byte : area) {
        b.U8(byte);
    }
    b.PadTo(size, 0xFF);
    return b.Bytes();
}

} // namespace UserDbImages

} // namespace core
