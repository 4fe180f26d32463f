#include "editor/QtUiHooks.h"

#include "editor/dialogs/CUserDbAddrDlg.h"
#include "ui/UiServices.h"

#include <QDialog>

using core::UiIcon;
using ui::MessageIcon;

namespace editor {

namespace {
MessageIcon ToMessageIcon(UiIcon icon)
{
    switch (icon) {
    case UiIcon::Information:
        return MessageIcon::Information;
    case UiIcon::Warning:
        return MessageIcon::Warning;
    case UiIcon::Question:
        return MessageIcon::Question;
    case UiIcon::Error:
        break;
    }
    return MessageIcon::Error;
}
} // namespace

QtUiHooks::QtUiHooks(ui::UiServices& services, QWidget* parent)
    : m_services(services)
    , m_parent(parent)
{ }

std::uint32_t QtUiHooks::AskUserDbAddress()
{
    CUserDbAddrDlg dialog(m_services, m_parent);
    return m_services.ExecDialog(dialog) == QDialog::Accepted ? dialog.Address() : 0;
}

void QtUiHooks::ShowMessage(std::string_view text, std::string_view caption, UiIcon icon)
{
    m_services.ShowMessage(m_parent,
                           QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                           QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                           ToMessageIcon(icon));
}

} // namespace editor
