#include "ui/QtUiServices.h"

#include "ui/FileFilter.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace ui {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Error:
        break;
    }
    return QMessageBox::Critical;
}

// Texts keep the CR LF line breaks of the programs' own messages; a Qt label wants LF alone.
QString ForDisplay(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

// A box or dialog opened while the wait cursor is up (the address dialog asked for by a reader in
// the middle of an import) shows the arrow, and the wait cursor comes back when it closes.
class ArrowWhileModal
{
public:
    ArrowWhileModal()
        : m_busy(QApplication::overrideCursor() != nullptr)
    {
        if (m_busy) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~ArrowWhileModal()
    {
        if (m_busy) {
            QApplication::restoreOverrideCursor();
        }
    }
    ArrowWhileModal(const ArrowWhileModal&) = delete;
    ArrowWhileModal& operator=(const ArrowWhileModal&) = delete;

private:
    bool m_busy;
};

} // namespace

void QtUiServices::ShowMessage(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon)
{
    ShowMessageWithDetail(parent, text, caption, icon, QString());
}

void QtUiServices::ShowMessageWithDetail(
    QWidget* parent, const QString& text, const QString& caption, MessageIcon icon, const QString& detail)
{
    const ArrowWhileModal arrow;
    QMessageBox box(ToQtIcon(icon), caption, ForDisplay(text), QMessageBox::Ok, parent);
    // File names and receiver names are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    if (!detail.isEmpty()) {
        box.setDetailedText(detail);
    }
    box.exec();
}

Answer QtUiServices::Ask(QWidget* parent, const QString& text, const QString& caption, bool withCancel)
{
    const ArrowWhileModal arrow;
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

std::optional<QString> QtUiServices::AskFileName(QWidget* parent, const FileDialogRequest& request)
{
    const ArrowWhileModal arrow;
    QFileDialog dialog(parent);
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // A save dialog that needs an existing file is the merge target: the image is rewritten in place.
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setNameFilter(QString::fromStdString(ToQtNameFilter(request.filter)));
    if (!request.defaultExtension.empty()) {
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    }
    if (!request.initialName.empty()) {
        dialog.selectFile(QString::fromStdString(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front();
}

int QtUiServices::ExecDialog(QDialog& dialog)
{
    const ArrowWhileModal arrow;
    return dialog.exec();
}

void QtUiServices::SetBusy(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

} // namespace ui
