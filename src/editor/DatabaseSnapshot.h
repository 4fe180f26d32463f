#pragma once

#include <memory>

namespace core {
class CProgDb;
} // namespace core

namespace editor {

// A copy of the database, node for node with the same ids, order, parents and records, that
// another thread may read while the window goes on editing the original.
std::unique_ptr<core::CProgDb> SnapshotOf(const core::CProgDb& db);

} // namespace editor
