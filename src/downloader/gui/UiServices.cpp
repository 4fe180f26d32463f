#include "downloader/gui/UiServices.h"

#include <QFileDialog>
#include <QMessageBox>

namespace downloader {

namespace {

// Texts keep the CR LF line breaks of the system's own messages; a Qt label wants LF alone.
QString ForDisplay(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

} // namespace

void QtUiServices::ShowMessage(QWidget* parent, const QString& text, const QString& caption, Icon icon)
{
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information : QMessageBox::Warning,
                    caption,
                    ForDisplay(text),
                    QMessageBox::Ok,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

UiServices::Answer QtUiServices::Ask(QWidget* parent, const QString& text, const QString& caption, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel) {
        buttons |= QMessageBox::Cancel;
    }
    QMessageBox box(QMessageBox::Information, caption, ForDisplay(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::No;
    }
}

QString QtUiServices::OpenFileName(QWidget* parent, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter, nullptr, QFileDialog::Options());
}

QString QtUiServices::SaveFileName(QWidget* parent, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), QString(), filter, nullptr, QFileDialog::Options());
}

} // namespace downloader
