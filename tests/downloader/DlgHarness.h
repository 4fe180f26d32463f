#pragma once

#include "ScriptedProcess.h"
#include "downloader/gui/CDownloadDlg.h"
#include "support/FakeUiServices.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <string>
#include <vector>

namespace downloader {

// One download window in a fresh base folder, with scripted dialogs, fixed host lists, a settings
// file of its own and processes that play a script.
class DlgHarness
{
public:
    DlgHarness();

    // Creates the window (the start-up sequence runs in its constructor).
    CDownloadDlg& Open();
    CDownloadDlg& Dlg() { return *m_dlg; }
    void Close();
    // Handles events until the run has wound down (the pause after it included); false on a time-out.
    [[nodiscard]] bool WaitForRunEnd();

    QString Base() const { return m_base.path() + QLatin1Char('/'); }
    QString BootFolder() const { return Base() + QStringLiteral("boot_file"); }
    // The settings file the window reads and writes.
    std::unique_ptr<QSettings> Settings() const;
    // The output area's whole text.
    QString Output();

    template <typename T>
    T* Find(const char* name)
    {
        return m_dlg->findChild<T*>(QLatin1String(name));
    }

    testsupport::FakeUiServices ui;
    std::shared_ptr<ProcessScript> script = std::make_shared<ProcessScript>();
    std::string portList = "COM3;COM12;";
    std::vector<std::string> adapters{"192.168.1.10,10.0.0.5", "0.0.0.0"};
    std::vector<std::uint8_t> toolBytes{0x7F, 'E', 'L', 'F', 1, 2, 3};
    ToolResource toolResource{true, nullptr, 0};
    bool useToolBytes = true;
    ToolProcessFactory processFactory; // scripted unless set
    int portScans = 0;
    int closingFinished = 0;

private:
    QTemporaryDir m_base;
    QTemporaryDir m_profile;
    std::unique_ptr<CDownloadDlg> m_dlg;
};

} // namespace downloader
