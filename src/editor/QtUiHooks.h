#pragma once

#include "common/UiHooks.h"

class QWidget;

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

// What the core asks of the user, answered with the editor's dialogs.
class QtUiHooks final : public core::IUiHooks
{
public:
    QtUiHooks(ui::UiServices& services, QWidget* parent);
    void SetParent(QWidget* parent) { m_parent = parent; }

    // Shows the address dialog: the address after OK (0 for "Auto"), 0 after Cancel.
    std::uint32_t AskUserDbAddress() override;
    void ShowMessage(std::string_view text, std::string_view caption, core::UiIcon icon) override;

private:
    ui::UiServices& m_services;
    QWidget* m_parent;
};

} // namespace editor
