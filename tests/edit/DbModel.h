#pragma once

#include "db/CProgDb.h"
#include "edit/SortNodes.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace core {

// One node as plain data: what an edit and its undo must give back exactly.
struct ModelRow
{
    std::int32_t id = InvalidId;
    std::int32_t parentId = InvalidId;
    std::vector<std::uint8_t> record; // the packed record; a transponder's word little-endian
    std::int32_t select = 0; // satellites only

    bool operator==(const ModelRow&) const = default;
};

// The three lists as plain vectors, and the operations of the editor done the obvious way on them,
// to check the core's edits against.
struct DbModel
{
    std::array<std::vector<ModelRow>, 3> lists; // indexed by NodeType
    std::array<std::int32_t, 3> lastIds{InvalidId, InvalidId, InvalidId}; // not rolled back by undo

    std::vector<ModelRow>& Of(NodeType kind) { return lists[static_cast<std::size_t>(kind)]; }
    const std::vector<ModelRow>& Of(NodeType kind) const { return lists[static_cast<std::size_t>(kind)]; }
    // Same nodes, records and order (the id counters aside).
    bool SameLists(const DbModel& other) const { return lists == other.lists; }

    // Each returns false, leaving the model as it was, where the editor must refuse.
    bool Delete(NodeType kind, const std::vector<std::int32_t>& ids);
    bool Move(NodeType kind, const std::vector<std::int32_t>& ids, std::int32_t beforeId);
    bool Set(NodeType kind, std::int32_t id, const std::string& field, std::uint32_t value);
    bool Rename(NodeType kind, std::int32_t id, const std::string& name);
    bool Add(NodeType kind, std::int32_t parentId, std::int32_t afterId);
    // Names compare with ISO-8859-1 case folding (the tests run with that code page).
    bool Sort(NodeType kind, const std::vector<std::int32_t>& ids, const std::string& key, SortOrder order);
    void RemoveDuplicates();
};

void PrintTo(const DbModel& model, std::ostream* out);

// The database as a model.
DbModel Snapshot(const CProgDb& db);

// A description of every transponder without its satellite and program without its transponder;
// empty when there is none.
std::string Orphans(const CProgDb& db);

} // namespace core
