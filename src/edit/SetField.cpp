#include "edit/SetField.h"

#include "edit/FieldTable.h"
#include "edit/ListOf.h"

namespace core {

namespace {

class SetFieldEdit final : public IEdit
{
public:
    SetFieldEdit(NodeType kind, std::int32_t id, std::string field, std::uint32_t value)
        : m_kind(kind)
        , m_id(id)
        , m_fieldName(std::move(field))
        , m_new(value)
    { }

    bool Apply(CProgDb& db) override
    {
        m_field = FindField(m_kind, m_fieldName);
        if (m_field == nullptr || m_field->IsName() || m_new > m_field->MaxValue()) {
            return false;
        }
        m_node = FindNode(db, m_kind, m_id);
        if (m_node == nullptr) {
            return false;
        }
        m_old = FieldValue(*m_node, *m_field);
        Redo(db);
        return true;
    }
    void Undo(CProgDb&) override { SetFieldValue(*m_node, *m_field, m_old); }
    void Redo(CProgDb&) override { SetFieldValue(*m_node, *m_field, m_new); }

    EditChange Change() const override
    {
        EditChange change;
        change.Of(m_kind) = m_old == m_new ? ListChange::None : ListChange::Values;
        change.nodeKind = m_kind;
        change.nodeId = m_id;
        return change;
    }
    std::string Name() const override { return "Edit " + m_fieldName; }

private:
    NodeType m_kind;
    std::int32_t m_id;
    std::string m_fieldName;
    std::uint32_t m_new;
    std::uint32_t m_old = 0;
    const FieldInfo* m_field = nullptr;
    CNode* m_node = nullptr; // a node never moves in memory while its list or an edit holds it
};

} // namespace

std::unique_ptr<IEdit> SetField(NodeType kind, std::int32_t id, std::string field, std::uint32_t value)
{
    return std::make_unique<SetFieldEdit>(kind, id, std::move(field), value);
}

} // namespace core
