#include "editor/QtUiServices.h"

#include "editor/FileFilter.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

using core::UiIcon;

namespace editor {

namespace {
QMessageBox::Icon ToQtIcon(UiIcon icon)
{
    switch (icon) {
    case UiIcon::Information:
        return QMessageBox::Information;
    case UiIcon::Warning:
        return QMessageBox::Warning;
    case UiIcon::Question:
        return QMessageBox::Question;
    case UiIcon::Error:
        break;
    }
    return QMessageBox::Critical;
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

void QtUiServices::ShowMessage(QWidget* parent, const QString& text, const QString& caption, UiIcon icon)
{
    const ArrowWhileModal arrow;
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> QtUiServices::AskFileName(QWidget* parent, const FileDialogRequest& request)
{
    const ArrowWhileModal arrow;
    QFileDialog dialog(parent);
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // A save dialog that needs an existing file is the merge target: the image is rewritten in place.
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
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

} // namespace editor
