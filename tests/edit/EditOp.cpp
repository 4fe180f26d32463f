#include "EditOp.h"

#include "edit/AddNode.h"
#include "edit/DeleteNodes.h"
#include "edit/MoveNodes.h"
#include "edit/RemoveDuplicates.h"
#include "edit/RenameNode.h"
#include "edit/SetField.h"

namespace core {

std::unique_ptr<IEdit> EditOp::MakeEdit() const
{
    switch (type) {
    case Type::Delete:
        return DeleteNodes(kind, ids);
    case Type::Move:
        return MoveNodes(kind, ids, id);
    case Type::Set:
        return SetField(kind, id, text, value);
    case Type::Rename:
        return RenameNode(kind, id, text);
    case Type::Add:
        return AddNode(kind, id, after);
    case Type::Sort:
        return SortNodes(kind, ids, text, order);
    case Type::Dedupe:
        break;
    }
    return RemoveDuplicatePrograms();
}

bool EditOp::ApplyTo(DbModel& model) const
{
    switch (type) {
    case Type::Delete:
        return model.Delete(kind, ids);
    case Type::Move:
        return model.Move(kind, ids, id);
    case Type::Set:
        return model.Set(kind, id, text, value);
    case Type::Rename:
        return model.Rename(kind, id, text);
    case Type::Add:
        return model.Add(kind, id, after);
    case Type::Sort:
        return model.Sort(kind, ids, text, order);
    case Type::Dedupe:
        break;
    }
    model.RemoveDuplicates();
    return true;
}

EditOp DeleteOp(NodeType kind, std::vector<std::int32_t> ids)
{
    EditOp op;
    op.type = EditOp::Type::Delete;
    op.kind = kind;
    op.ids = std::move(ids);
    return op;
}

EditOp MoveOp(NodeType kind, std::vector<std::int32_t> ids, std::int32_t beforeId)
{
    EditOp op;
    op.type = EditOp::Type::Move;
    op.kind = kind;
    op.ids = std::move(ids);
    op.id = beforeId;
    return op;
}

EditOp SetOp(NodeType kind, std::int32_t id, std::string field, std::uint32_t value)
{
    EditOp op;
    op.type = EditOp::Type::Set;
    op.kind = kind;
    op.id = id;
    op.text = std::move(field);
    op.value = value;
    return op;
}

EditOp RenameOp(NodeType kind, std::int32_t id, std::string name)
{
    EditOp op;
    op.type = EditOp::Type::Rename;
    op.kind = kind;
    op.id = id;
    op.text = std::move(name);
    return op;
}

EditOp AddOp(NodeType kind, std::int32_t parentId, std::int32_t afterId)
{
    EditOp op;
    op.type = EditOp::Type::Add;
    op.kind = kind;
    op.id = parentId;
    op.after = afterId;
    return op;
}

EditOp SortOp(NodeType kind, std::vector<std::int32_t> ids, std::string key, SortOrder order)
{
    EditOp op;
    op.type = EditOp::Type::Sort;
    op.kind = kind;
    op.ids = std::move(ids);
    op.text = std::move(key);
    op.order = order;
    return op;
}

EditOp DedupeOp()
{
    EditOp op;
    op.type = EditOp::Type::Dedupe;
    return op;
}

void PrintTo(const EditOp& op, std::ostream* out)
{
    static constexpr const char* kTypes[] = {"delete", "move", "set", "rename", "add", "sort", "dedupe"};
    *out << kTypes[static_cast<int>(op.type)] << " kind " << op.kind << " ids";
    for (const std::int32_t id : op.ids) {
        *out << ' ' << id;
    }
    *out << " id " << op.id << " after " << op.after << " text '" << op.text << "' value " << op.value
         << (op.order == SortOrder::Descending ? " desc" : "");
}

} // namespace core
