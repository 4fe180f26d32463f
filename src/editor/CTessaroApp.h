#pragma once

#include "common/PendingError.h"
#include "common/UiHooks.h"
#include "editor/QtUiHooks.h"

#include <QStringList>

#include <memory>
#include <string_view>

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

class CMainFrame;

// Starts the editor: installs the dialogs the core asks through, creates and shows the main
// frame, and shows the About box. Holds the program-wide error slot's interface.
class CTessaroApp
{
public:
    explicit CTessaroApp(ui::UiServices& services);
    ~CTessaroApp();
    CTessaroApp(const CTessaroApp&) = delete;
    CTessaroApp& operator=(const CTessaroApp&) = delete;

    // Creates and shows the main frame; opens the file named by the first argument after the
    // program name, when there is one. False when the window could not be created.
    [[nodiscard]] bool InitInstance(const QStringList& arguments);
    CMainFrame* MainFrame() const { return m_frame.get(); }

    // Shows the About box modally.
    void OnAppAbout();

    // The program-wide error slot: importers and exporters fill it, the frame shows and clears it.
    static const core::PendingErrorState& PendingError() { return core::PendingError(); }
    static void SetPendingError(std::string_view text) { core::SetPendingError(text); }
    static void ClearPendingError() { core::ClearPendingError(); }

private:
    ui::UiServices& m_services;
    QtUiHooks m_hooks;
    core::ScopedUiHooks m_hookScope;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace editor
