#pragma once

#include "editor/UiServices.h"

namespace editor {

// The real message boxes, file dialogs and cursors.
class QtUiServices final : public IUiServices
{
public:
    void ShowMessage(QWidget* parent, const QString& text, const QString& caption, core::UiIcon icon) override;
    [[nodiscard]] std::optional<QString> AskFileName(QWidget* parent, const FileDialogRequest& request) override;
    int ExecDialog(QDialog& dialog) override;
    void SetBusy(bool busy) override;
};

} // namespace editor
