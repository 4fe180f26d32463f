#pragma once

#include <cstdint>

namespace core {

// -1: no node, no parent, or "all nodes" when a view asks without a filter.
inline constexpr std::int32_t InvalidId = -1;

enum NodeType : std::int32_t { Sat = 0, Tp = 1, Prog = 2 };

template <class TNode>
class CNodeList;

// A satellite, transponder or program. Nodes hold no pointers to one another: every link is an
// id looked up in the database.
class CNode
{
public:
    virtual ~CNode() = default;

    std::int32_t Id() const { return m_id; }
    std::int32_t ParentId() const { return m_parentId; }
    void SetParentId(std::int32_t parentId) { m_parentId = parentId; }
    NodeType Type() const { return m_type; }

protected:
    CNode(NodeType type, std::int32_t id, std::int32_t parentId)
        : m_id(id)
        , m_parentId(parentId)
        , m_type(type)
    { }
    CNode(const CNode&) = default;
    CNode& operator=(const CNode&) = default;

private:
    // Only the owning list hands out and changes ids, so its id index stays right.
    template <class TNode>
    friend class CNodeList;

    std::int32_t m_id;
    std::int32_t m_parentId;
    NodeType m_type;
};

} // namespace core
