#include "BenchUiSupport.h"

#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

ScriptedFilterUi::ScriptedFilterUi(QString header, QString value)
    : m_header(std::move(header))
    , m_value(std::move(value))
{ }

int ScriptedFilterUi::ExecDialog(QDialog& dialog)
{
    auto* chooser = dialog.findChild<QComboBox*>("columnChooser");
    chooser->setCurrentIndex(chooser->findText(m_header));
    dialog.findChild<QLineEdit*>("valueEdit")->setText(m_value);
    dialog.findChild<QPushButton*>("addButton")->click();
    dialog.findChild<QPushButton*>("okButton")->click();
    return dialog.result();
}

double Ms(const std::function<void()>& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}
