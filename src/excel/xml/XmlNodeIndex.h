#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// One record per element of the document. Offsets are into the document text; record 0 stands for
// the document itself. Links are record indexes, 0 meaning none.
struct XmlNode
{
    std::uint32_t start = 0; // offset of "<"
    std::uint32_t length = 0; // start tag, content and end tag
    std::uint32_t startTagLen = 0;
    std::uint32_t endTagLen = 0; // 0 for an empty element or one closed by force
    std::uint32_t parent = 0;
    std::uint32_t firstChild = 0;
    std::uint32_t lastChild = 0; // kept so that appending a child never walks the siblings
    std::uint32_t prev = 0;
    std::uint32_t next = 0;
    std::uint16_t nameLen = 0; // kNameLenUnknown when the name is too long to store
    std::uint16_t flags = 0;

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
// element nor a copy of every record when it grows.
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
    std::vector<std::unique_ptr<XmlNode[]>> m_blocks;
    std::uint32_t m_count = 0;
};
