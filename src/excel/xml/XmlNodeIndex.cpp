#include "excel/xml/XmlNodeIndex.h"

#include <limits>
#include <stdexcept>

void XmlNodeIndex::Reset()
{
    m_blocks.clear();
    m_count = 0;
    Add();
}

void XmlNodeIndex::ReserveOne()
{
    if (m_count == std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("Too many XML elements");
    }
    if (m_count % kBlockSize == 0 && m_count / kBlockSize == m_blocks.size()) {
        if (m_blocks.size() == m_blocks.capacity()) {
            m_blocks.reserve(m_blocks.size() + m_blocks.size() / 2 + 1); // grow the block table by half
        }
        m_blocks.push_back(std::make_unique_for_overwrite<XmlNode[]>(kBlockSize));
    }
}

std::uint32_t XmlNodeIndex::Add()
{
    ReserveOne();
    (*this)[m_count] = XmlNode{};
    return m_count++;
}
