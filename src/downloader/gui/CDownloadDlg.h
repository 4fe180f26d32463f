#pragma once

#include "downloader/core/CToolRunner.h"
#include "downloader/core/CommandHistory.h"
#include "downloader/core/OutputText.h"
#include "downloader/core/ProgressTracker.h"
#include "downloader/core/RunState.h"
#include "downloader/core/SegmentInfo.h"
#include "downloader/core/SharedToolFile.h"
#include "downloader/gui/DownloadDlgContext.h"

#include <QDialog>
#include <QTimer>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace downloader {

class CSegmentEditor;
class CSkinButton;
class OutputView;
class PortComboBox;
struct DownloadProfile;
struct DownloadRequest;

// The one window of Kestrun_boot: choose chip type, port, mode, segment and file, then run the tool
// and watch its output. A run goes on while the window handles its events; the runner reports its end
// by a signal, and Start, Cancel, Enter and closing the window act by the window's RunState. Only Start
// (or the Command field's own Enter) begins a run: Enter elsewhere does nothing.
class CDownloadDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CDownloadDlg(DownloadDlgContext context, QWidget* parent = nullptr);
    ~CDownloadDlg() override;

    // A run has begun and has not yet wound down (its pause after it included).
    bool IsRunning() const { return RunInProgress(m_state); }
    RunState State() const { return m_state; }
    QString ToolPath() const;
    QString IniPath() const;
    const SegmentTable& Segments() const { return m_segments; }
    const CommandHistory& History() const { return m_history; }

signals:
    // The window has closed and its tool has stopped: the program may end.
    void ClosingFinished();

public slots:
    void ShowAbout();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void BuildControls();
    void BuildSettingsPanel(QWidget* panel);
    void StartUp();
    void FillBootFiles();
    void FillPorts();
    void RestorePortChoice(const DownloadProfile& profile);
    void SavePortChoice(DownloadProfile& profile) const;
    void FillAddresses();
    void ApplyBootFileRule();
    void ApplyVisibilityRule();
    void DeriveReceiverAddress();
    void RefreshPorts();
    void ReloadSegmentTable();
    void ChooseFile();
    void OnStartClicked();
    // Asks the questions of a run that cannot be taken back; false when one is answered No.
    [[nodiscard]] bool ConfirmRequest(const DownloadRequest& request);
    void OnCommandEnter();
    bool HandleCommandKey(int key);
    void SetControlsLocked(bool locked);
    bool Move(RunEvent event);
    void ShowRunState();
    void StartRun(const std::string& commandLine, const std::string& echo);
    void ShowProgress(std::string_view block);
    void OnRunFinished(const RunResult& result);
    void ReportResult(const RunResult& result);
    void CancelRun();
    void SaveSettings();
    void DeleteTool();
    DownloadRequest CurrentRequest() const;

    DownloadDlgContext m_context;
    SharedToolFile m_toolFile;
    std::unique_ptr<CToolRunner> m_runner;
    CommandHistory m_history;
    SegmentTable m_segments;
    ProgressTracker m_progress;
    RunState m_state = RunState::Unusable;
    QTimer m_afterRunPause;

    QComboBox* m_chipType = nullptr;
    QLabel* m_bootFileLabel = nullptr;
    QComboBox* m_bootFile = nullptr;
    PortComboBox* m_port = nullptr;
    QComboBox* m_mode = nullptr;
    QCheckBox* m_yaffs = nullptr;
    QLabel* m_sectionLabel = nullptr;
    QComboBox* m_section = nullptr;
    QLabel* m_fileLabel = nullptr;
    QLineEdit* m_file = nullptr;
    CSkinButton* m_browse = nullptr;
    QLabel* m_pcIpLabel = nullptr;
    QComboBox* m_pcIp = nullptr;
    QLabel* m_stbIpLabel = nullptr;
    QLineEdit* m_stbIp = nullptr;
    CSkinButton* m_start = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_about = nullptr;
    OutputView* m_output = nullptr;
    QLineEdit* m_command = nullptr;
    CSkinButton* m_clear = nullptr;
    CSegmentEditor* m_segmentEditor = nullptr;
};

} // namespace downloader
