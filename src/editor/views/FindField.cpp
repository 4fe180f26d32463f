#include "editor/views/FindField.h"

#include <QKeyEvent>

namespace editor {

namespace {
constexpr int kFieldWidth = 180;
} // namespace

FindField::FindField(QWidget* parent)
    : QLineEdit(parent)
{
    setObjectName("findField");
    setPlaceholderText("Find name (Ctrl+Shift+F)");
    setClearButtonEnabled(true);
    setMaximumWidth(kFieldWidth);
}

void FindField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        clear();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace editor
