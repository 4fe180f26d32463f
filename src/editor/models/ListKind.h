#pragma once

namespace editor {

// What the program list shows; the numbers are the ones the browse tree passes.
enum class ListKind : int { Satellites = 0, Transponders = 1, Programs = 2 };

} // namespace editor
