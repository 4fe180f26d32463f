#include "excel/xml/XmlNodeIndex.h"

#include <algorithm>
#include <stdexcept>

namespace core {

void XmlNodeIndex::Reset()
{
    if (m_blocks.size() > 1) {
        m_blocks.resize(1); // the first block is kept for the next parse
    }
    m_count = 0;
    m_illFormed = false;
    Add();
}

std::uint32_t XmlNodeIndex::Parent(std::uint32_t i) const
{
    if (i == 0) {
        return 0;
    }
    while ((*this)[i].last == 0) {
        i = (*this)[i].link;
    }
    return (*this)[i].link;
}

void XmlNodeIndex::ReserveRecord(std::uint32_t i)
{
    if (i > kMaxNode) {
        throw std::length_error("Too many XML elements");
    }
    if (i < kBlockSize) {
        if (i < m_firstCapacity) {
            return;
        }
        const std::uint32_t capacity
            = std::min(kBlockSize, std::max(kFirstCapacity, m_firstCapacity + m_firstCapacity / 2));
        auto block = std::make_unique_for_overwrite<XmlNode[]>(capacity);
        if (m_count > 0) {
            std::copy_n(m_blocks[0].get(), m_count, block.get());
        }
        if (m_blocks.empty()) {
            m_blocks.push_back(std::move(block));
        } else {
            m_blocks[0] = std::move(block);
        }
        m_firstCapacity = capacity;
        return;
    }
    if (i % kBlockSize == 0 && i / kBlockSize == m_blocks.size()) {
        if (m_blocks.size() == m_blocks.capacity()) {
            m_blocks.reserve(m_blocks.size() + m_blocks.size() / 2 + 1); // grow the block table by half
        }
        m_blocks.push_back(std::make_unique_for_overwrite<XmlNode[]>(kBlockSize));
    }
}

} // namespace core
