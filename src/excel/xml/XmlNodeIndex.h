#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace core {

// One record per element of the document. A plain type: a block of records is allocated without
// being written, and each record is zeroed when it is added. Offsets are into the document text; record 0 stands for
// the document itself. Links are record indexes, 0 meaning none.
struct XmlNode
{
    std::uint32_t start; // offset of "<"
    std::uint32_t length; // start tag, content and end tag
    std::uint32_t startTagLen;
    std::uint32_t endTagLen; // 0 for an empty element or one closed by force
    std::uint32_t parent;
    std::uint32_t firstChild;
    std::uint32_t lastChild; // kept so that appending a child never walks the siblings
    std::uint32_t prev;
    std::uint32_t next;
    std::uint16_t nameLen; // kNameLenUnknown when the name is too long to store
    std::uint16_t flags;

    std::uint32_t End() const { return start + length; }
};

namespace XmlNodeFlag {
constexpr std::uint16_t IllFormed = 1; // on record 0: a parse error was found
constexpr std::uint16_t Empty = 2; // written as one tag ending "/>"
constexpr std::uint16_t ChildIllFormed = 4; // a child was closed by force
constexpr std::uint16_t Unended = 8; // closed by force, no end tag of its own
} // namespace XmlNodeFlag

constexpr std::uint16_t kNameLenUnknown = 0xFFFF;

// Records live in blocks of 65536 so that a large document needs neither one allocation per
// element nor a copy of every record when it grows. The first block starts small and grows by half
// until it is full size, so that small documents stay cheap.
class XmlNodeIndex
{
public:
    static constexpr std::uint32_t kBlockSize = 65536;

    XmlNodeIndex() { Reset(); }

    // Drops every record but a fresh record 0.
    void Reset();
    // Appends a zeroed record and returns its index; throws std::length_error past 2^32-1 records.
    std::uint32_t Add();
    std::uint32_t Count() const { return m_count; }
    // Makes sure the next Add cannot throw.
    void ReserveOne();

    XmlNode& operator[](std::uint32_t i) { return m_blocks[i / kBlockSize][i % kBlockSize]; }
    const XmlNode& operator[](std::uint32_t i) const { return m_blocks[i / kBlockSize][i % kBlockSize]; }

private:
    static constexpr std::uint32_t kFirstCapacity = 64;

    std::vector<std::unique_ptr<XmlNode[]>> m_blocks;
    std::uint32_t m_firstCapacity = 0; // records the first block can hold
    std::uint32_t m_count = 0;
};

} // namespace core
