#pragma once

#include <QSettings>

#include <memory>

namespace editor {

// The editor's per-user settings (window layout, column widths, code page), in the user's
// profile store under the program's own names.
std::unique_ptr<QSettings> OpenEditorSettings();

} // namespace editor
