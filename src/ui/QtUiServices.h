#pragma once

#include "ui/UiServices.h"

namespace ui {

// The real message boxes, questions, file dialogs and cursors.
class QtUiServices final : public UiServices
{
public:
    void ShowMessage(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon) override;
    void ShowMessageWithDetail(
        QWidget* parent, const QString& text, const QString& caption, MessageIcon icon, const QString& detail) override;
    Answer Ask(QWidget* parent, const QString& text, const QString& caption, bool withCancel) override;
    std::optional<QString> AskFileName(QWidget* parent, const FileDialogRequest& request) override;
    int ExecDialog(QDialog& dialog) override;
    void SetBusy(bool busy) override;
};

} // namespace ui
