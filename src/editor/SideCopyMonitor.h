#pragma once

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMainWindow;

namespace core {
class CProgDb;
} // namespace core

namespace ui {
class UiServices;
} // namespace ui

namespace editor {

class SideCopyJob;

// The spreadsheet side copies of the files opened in a window, written on worker threads while
// the window stays usable. Their progress shows in a pane of the status bar ("Writing
// ch.dbxls… 40%"); a copy that fails is reported when it ends.
class SideCopyMonitor final : public QObject
{
    Q_OBJECT

public:
    SideCopyMonitor(ui::UiServices& services, QMainWindow& frame);
    // Copies still running are cancelled: a copy stopped before its file is written leaves none.
    ~SideCopyMonitor() override;

    // Snapshots db and starts writing it to target.
    void Start(const core::CProgDb& db, const std::string& target);
    bool Busy() const { return !m_jobs.empty(); }
    // Waits until every copy has ended, under the wait cursor, and reports the failures.
    void WaitForAll();
    QLabel* ProgressPane() const { return m_pane; }

private:
    void Poll();
    void Report(const SideCopyJob& job);
    void ShowProgress();

    ui::UiServices& m_services;
    QMainWindow& m_frame;
    QLabel* m_pane;
    QTimer m_timer;
    std::vector<std::unique_ptr<SideCopyJob>> m_jobs;
};

} // namespace editor
