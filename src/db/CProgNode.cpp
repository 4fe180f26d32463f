#include "db/CProgNode.h"

namespace core {

CProgNode::CProgNode(std::int32_t id, std::int32_t parentId)
    : CNode(NodeType::Prog, id, parentId)
{ }

void CopyProgRecord(const ProgRecord& source, ProgRecord& destination)
{
    for (std::size_t offset = 0; offset < ProgField::kNameOffset; offset += 4) {
        destination.SetWord(offset, source.Word(offset));
    }
    const std::string name = source.String(ProgField::kNameOffset, ProgField::kNameSize);
    auto& bytes = destination.Bytes();
    for (std::size_t i = 0; i < ProgField::kNameZeroedSize; ++i) {
        bytes[ProgField::kNameOffset + i] = 0;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        bytes[ProgField::kNameOffset + i] = static_cast<std::uint8_t>(name[i]);
    }
}

} // namespace core
