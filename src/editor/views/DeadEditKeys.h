#pragma once

#include <QKeyEvent>

namespace editor {

// The clipboard and undo keys of the frame: Cut, Copy and Paste have no handler anywhere, and Undo
// acts through the frame's command only, so the views swallow them instead of letting the item
// views copy a cell or a cell editor undo its typing.
inline bool IsDeadEditKey(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (event.key()) {
    case Qt::Key_X:
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_Z:
        return mods == Qt::ControlModifier;
    case Qt::Key_Delete:
        return mods == Qt::ShiftModifier;
    case Qt::Key_Insert:
        return mods == Qt::ControlModifier || mods == Qt::ShiftModifier;
    case Qt::Key_Backspace:
        return mods == Qt::AltModifier;
    default:
        return false;
    }
}

} // namespace editor
