#include "editor/dialogs/CAboutDlg.h"

#include "editor/views/TreeIcons.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace editor {

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle("About Tessaro");
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(new QLabel("Corvane Advanced V2.00", this), 0, 1);
    layout->addWidget(new QLabel("Any Question, Please Refer To Brisken Team For Help", this), 1, 1);
    layout->addWidget(new QLabel("Copyright (C) 2011 Brisken Team", this), 2, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
}

} // namespace editor
