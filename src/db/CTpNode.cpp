#include "db/CTpNode.h"

namespace core {

CTpNode::CTpNode(std::int32_t id, std::int32_t parentId)
    : CNode(NodeType::Tp, id, parentId)
{ }

const char* PolarText(std::uint32_t polar)
{
    return (polar & 1u) == 0 ? "H" : "V";
}

bool SameTransponder(std::uint32_t a, std::uint32_t b)
{
    constexpr std::uint32_t kCompared = 0x7FFFFFFFu; // bits 0-30
    return (a & kCompared) == (b & kCompared);
}

} // namespace core
