#pragma once

namespace core {
class CProgDb;
} // namespace core

namespace editor {

class CProgBrowseView;

// Reads the satellites' names again into their tree items (after the code page changed), leaving
// the tree's items, expansion and selection as they are.
void RenameTreeItems(CProgBrowseView& tree, const core::CProgDb& db);

} // namespace editor
