#include "editor/QtUiHooks.h"

#include "editor/UiServices.h"
#include "editor/dialogs/CUserDbAddrDlg.h"

#include <QDialog>

using core::UiIcon;

namespace editor {

QtUiHooks::QtUiHooks(IUiServices& services, QWidget* parent)
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
                           icon);
}

} // namespace editor
