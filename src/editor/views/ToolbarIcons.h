#pragma once

#include <QIcon>

namespace editor {

// The toolbar's 16x15 button pictures, drawn rather than shipped.
QIcon CutIcon();
QIcon CopyIcon();
QIcon PasteIcon();
QIcon AboutIcon();

} // namespace editor
