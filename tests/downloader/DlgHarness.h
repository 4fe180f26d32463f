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

// The question before "flash eraseall" with the default segment table, and its caption.
inline const QString kEraseAllQuestion = QStringLiteral("Erase the whole flash (0x00000000–0x001fffff)?");
inline const QString kEraseFlashCaption = QStringLiteral("Erase Flash");

// One download window in a fresh base folder, with scripted dialogs, fixed host lists, a settings
// file of its own and processes that play a script.
class DlgHarness
{
public:
    DlgHarness();
    // A window working in the base folder of another harness (its Base()); the profile is its own.
    explicit DlgHarness(QString sharedBase);

    // Creates the window (the start-up sequence runs in its constructor).
    CDownloadDlg& Open();
    CDownloadDlg& Dlg() { return *m_dlg; }
    void Close();
    // Handles events until the run has wound down (the pause after it included); false on a time-out.
    [[nodiscard]] bool WaitForRunEnd();

    QString Base() const { return m_sharedBase.isEmpty() ? m_base.path() + QLatin1Char('/') : m_sharedBase; }
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
    std::vector<SerialPortDetails> portDetails; // what the system says about the ports
    std::vector<std::uint8_t> toolBytes{0x7F, 'E', 'L', 'F', 1, 2, 3};
    ToolResource toolResource{true, nullptr, 0};
    bool useToolBytes = true;
    ToolProcessFactory processFactory; // scripted unless set
    int portScans = 0;
    int closingFinished = 0;

private:
    QTemporaryDir m_base;
    QString m_sharedBase; // another harness's folder, when sharing it
    QTemporaryDir m_profile;
    std::unique_ptr<CDownloadDlg> m_dlg;
};

} // namespace downloader
