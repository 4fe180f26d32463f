#pragma once

#include <QKeyEvent>

namespace editor {

// The clipboard and undo keys of the frame: Cut, Copy, Paste and Undo have no handler anywhere,
// so the views swallow them instead of letting the item views copy a cell.
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
