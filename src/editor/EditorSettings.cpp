#include "editor/EditorSettings.h"

namespace editor {

std::unique_ptr<QSettings> OpenEditorSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Tessaro", "Corvane");
}

} // namespace editor
