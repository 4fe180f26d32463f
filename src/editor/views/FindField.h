#pragma once

#include <QLineEdit>

namespace editor {

// The toolbar's Find field: the list narrows to the names that contain its text as it is typed.
// Escape empties it.
class FindField final : public QLineEdit
{
    Q_OBJECT

public:
    explicit FindField(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace editor
