#include "editor/CTessaroApp.h"

#include "editor/CMainFrame.h"
#include "editor/dialogs/CAboutDlg.h"
#include "ui/UiServices.h"

namespace editor {

CTessaroApp::CTessaroApp(ui::UiServices& services)
    : m_services(services)
    , m_hooks(services, nullptr)
    , m_hookScope(m_hooks)
{ }

CTessaroApp::~CTessaroApp() = default;

bool CTessaroApp::InitInstance(const QStringList& arguments)
{
    m_frame = std::make_unique<CMainFrame>(m_services);
    m_hooks.SetParent(m_frame.get());
    QObject::connect(m_frame.get(), &CMainFrame::AboutRequested, m_frame.get(), [this] { OnAppAbout(); });
    m_frame->show();
    if (arguments.size() > 1 && !arguments.at(1).startsWith("--")) {
        (void)m_frame->OpenPath(arguments.at(1)); // a file that does not read is reported; the window stays
    }
    return true;
}

void CTessaroApp::OnAppAbout()
{
    CAboutDlg about(m_frame.get());
    m_services.ExecDialog(about);
}

} // namespace editor
