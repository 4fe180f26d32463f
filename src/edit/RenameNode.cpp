#include "edit/RenameNode.h"

#include "edit/EditNames.h"
#include "edit/FieldTable.h"
#include "edit/ListOf.h"

namespace core {

namespace {

// The bytes a name occupies in its record: all of them go back on undo, terminator and padding too.
std::string NameArea(const CNode& node)
{
    if (node.Type() == Sat) {
        const auto& bytes = static_cast<const CSatNode&>(node).Record().Bytes();
        return {bytes.begin(), bytes.begin() + SatField::kNameSize};
    }
    const auto& bytes = static_cast<const CProgNode&>(node).Record().Bytes();
    return {bytes.begin() + ProgField::kNameOffset, bytes.end()};
}

void SetNameArea(CNode& node, const std::string& area)
{
    auto* bytes = node.Type() == Sat ? static_cast<CSatNode&>(node).Record().Bytes().data()
                                     : static_cast<CProgNode&>(node).Record().Bytes().data() + ProgField::kNameOffset;
    for (std::size_t i = 0; i < area.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(area[i]);
    }
}

class RenameNodeEdit final : public IEdit
{
public:
    RenameNodeEdit(NodeType kind, std::int32_t id, std::string name)
        : m_kind(kind)
        , m_id(id)
        , m_name(std::move(name))
    { }

    bool Apply(CProgDb& db) override
    {
        const FieldInfo* field = NameField(m_kind);
        if (field == nullptr || m_name.size() > field->nameBytes || m_name.find('\0') != std::string::npos) {
            return false;
        }
        m_node = FindNode(db, m_kind, m_id);
        if (m_node == nullptr) {
            return false;
        }
        m_oldArea = NameArea(*m_node);
        if (m_kind == Sat) {
            static_cast<CSatNode*>(m_node)->SetName(m_name);
        } else {
            static_cast<CProgNode*>(m_node)->SetProgName(m_name);
        }
        m_newArea = NameArea(*m_node);
        m_name = {};
        return true;
    }
    void Undo(CProgDb&) override { SetNameArea(*m_node, m_oldArea); }
    void Redo(CProgDb&) override { SetNameArea(*m_node, m_newArea); }

    EditChange Change() const override
    {
        EditChange change;
        change.Of(m_kind) = m_oldArea == m_newArea ? ListChange::None : ListChange::Values;
        change.nodeKind = m_kind;
        change.nodeId = m_id;
        return change;
    }
    std::string Name() const override { return "Rename " + std::string(KindNoun(m_kind, false)); }

private:
    NodeType m_kind;
    std::int32_t m_id;
    std::string m_name;
    std::string m_oldArea;
    std::string m_newArea;
    CNode* m_node = nullptr; // a node never moves in memory while its list or an edit holds it
};

} // namespace

std::unique_ptr<IEdit> RenameNode(NodeType kind, std::int32_t id, std::string name)
{
    return std::make_unique<RenameNodeEdit>(kind, id, std::move(name));
}

} // namespace core
