#include "db/CSatNode.h"

namespace core {

CSatNode::CSatNode(std::int32_t select, std::int32_t id, std::int32_t parentId)
    : CNode(NodeType::Sat, id, parentId)
    , m_select(select)
{ }

void CopySatRecord(const SatRecord& source, SatRecord& destination)
{
    destination.SetString(0, SatField::kNameSize, source.String(0, SatField::kNameSize));
    for (const std::size_t offset : {16u, 20u, 24u}) {
        destination.SetWord(offset, source.Word(offset));
    }
}

} // namespace core
