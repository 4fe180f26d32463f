#pragma once

#include <QDialog>

namespace editor {

// The About box: the program icon, the product line and the help line.
class CAboutDlg final : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace editor
