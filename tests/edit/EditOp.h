#pragma once

#include "DbModel.h"
#include "edit/IEdit.h"
#include "edit/SortNodes.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace core {

// One editing operation as test data: the core's edit and the model's version are built from it.
struct EditOp
{
    enum class Type { Delete, Move, Set, Rename, Add, Sort, Dedupe };

    Type type = Type::Delete;
    NodeType kind = Prog;
    std::vector<std::int32_t> ids; // Delete, Move, Sort
    std::int32_t id = InvalidId; // Move: before; Set, Rename: the node; Add: the parent
    std::int32_t after = InvalidId; // Add
    std::string text; // Set: field; Rename: name; Sort: key
    std::uint32_t value = 0; // Set
    SortOrder order = SortOrder::Ascending;

    std::unique_ptr<IEdit> MakeEdit() const;
    // The model's version; false where the editor must refuse.
    bool ApplyTo(DbModel& model) const;
};

EditOp DeleteOp(NodeType kind, std::vector<std::int32_t> ids);
EditOp MoveOp(NodeType kind, std::vector<std::int32_t> ids, std::int32_t beforeId);
EditOp SetOp(NodeType kind, std::int32_t id, std::string field, std::uint32_t value);
EditOp RenameOp(NodeType kind, std::int32_t id, std::string name);
EditOp AddOp(NodeType kind, std::int32_t parentId, std::int32_t afterId);
EditOp SortOp(NodeType kind, std::vector<std::int32_t> ids, std::string key, SortOrder order);
EditOp DedupeOp();

void PrintTo(const EditOp& op, std::ostream* out);

} // namespace core
