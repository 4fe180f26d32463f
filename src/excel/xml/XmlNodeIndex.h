#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace core {

// One record per element of the document, 16 bytes. A plain type: a block of records is allocated
// without being written, and each record is zeroed when it is added. Offsets are into the document
// text; record 0 stands for the document itself. Links are record indexes, 0 meaning none; they
// take 30 bits, which is enough because the smallest element ("<a>") takes 3 bytes of a text under
// 4 GB and the index stops at kMaxNode. A last child's link names its parent instead of a next
// sibling (so the parent costs no field of its own: XmlNodeIndex::Parent walks the siblings after
// an element to find it). The tag and name lengths are not kept: they are read from the text when
// needed (CXmlDocument::TagLengths).
struct XmlNode
{
    std::uint32_t start; // offset of "<"
    std::uint32_t length; // start tag, content and end tag
    std::uint32_t firstChild : 30;
    std::uint32_t empty : 1; // written as one tag ending "/>"
    std::uint32_t childIllFormed : 1; // a child was closed by force
    std::uint32_t link : 30; // the next sibling, or the parent when last is set
    std::uint32_t last : 1; // no sibling follows
    std::uint32_t unended : 1; // closed by force, no end tag of its own

    std::uint32_t End() const { return start + length; }
};

static_assert(sizeof(XmlNode) == 16);

// Records live in blocks of 65536 so that a large document needs neither one allocation per
// element nor a copy of every record when it grows. The first block starts small and grows by half
// until it is full size, so that small documents stay cheap.
class XmlNodeIndex
{
public:
    static constexpr std::uint32_t kBlockSize = 65536;
    static constexpr std::uint32_t kMaxNode = (1U << 30) - 1; // the highest record index

    XmlNodeIndex() { Reset(); }

    // Drops every record but a fresh record 0.
    void Reset();
    // Appends a zeroed record and returns its index; throws std::length_error past kMaxNode.
    std::uint32_t Add()
    {
        if (!HasRoomFor(m_count)) {
            ReserveRecord(m_count);
        }
        (*this)[m_count] = XmlNode{};
        return m_count++;
    }
    std::uint32_t Count() const { return m_count; }
    // The next sibling of record i, 0 when it is the last.
    std::uint32_t Next(std::uint32_t i) const
    {
        const XmlNode& n = (*this)[i];
        return n.last != 0 ? 0 : n.link;
    }
    // The parent of record i (0 for a top-level element and for record 0); walks the later siblings.
    std::uint32_t Parent(std::uint32_t i) const;
    // Whether the last parse found an error.
    bool IllFormed() const { return m_illFormed; }
    void SetIllFormed() { m_illFormed = true; }
    // Makes sure the next Add cannot throw.
    void ReserveOne() { ReserveRecord(m_count); }
    // Makes sure the next count Adds cannot throw.
    void Reserve(std::uint32_t count)
    {
        for (std::uint32_t k = 0; k < count; ++k) {
            ReserveRecord(m_count + k);
        }
    }

    XmlNode& operator[](std::uint32_t i) { return m_blocks[i / kBlockSize][i % kBlockSize]; }
    const XmlNode& operator[](std::uint32_t i) const { return m_blocks[i / kBlockSize][i % kBlockSize]; }

private:
    // Whether record i has its place in a block already.
    bool HasRoomFor(std::uint32_t i) const
    {
        return i < kBlockSize ? i < m_firstCapacity : i / kBlockSize < m_blocks.size();
    }
    // Makes room for record i, given room for every record before it.
    void ReserveRecord(std::uint32_t i);
    static constexpr std::uint32_t kFirstCapacity = 64;

    std::vector<std::unique_ptr<XmlNode[]>> m_blocks;
    std::uint32_t m_firstCapacity = 0; // records the first block can hold
    std::uint32_t m_count = 0;
    bool m_illFormed = false;
};

} // namespace core
