#include "editor/SideCopyMonitor.h"

#include "db/CProgDb.h"
#include "editor/DatabaseSnapshot.h"
#include "editor/SideCopyJob.h"
#include "ui/UiServices.h"

#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include <algorithm>

namespace editor {

namespace {
constexpr int kPollIntervalMs = 100;

QString FileName(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName();
}
} // namespace

SideCopyMonitor::SideCopyMonitor(ui::UiServices& services, QMainWindow& frame)
    : QObject(&frame)
    , m_services(services)
    , m_frame(frame)
    , m_pane(new QLabel(&frame))
{
    m_pane->setObjectName("sideCopyPane");
    m_pane->hide();
    frame.statusBar()->addWidget(m_pane);
    m_timer.setInterval(kPollIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &SideCopyMonitor::Poll);
}

SideCopyMonitor::~SideCopyMonitor() = default;

void SideCopyMonitor::Start(const core::CProgDb& db, const std::string& target)
{
    auto job = std::make_unique<SideCopyJob>(SnapshotOf(db), target);
    job->Start();
    m_jobs.push_back(std::move(job));
    ShowProgress();
    m_timer.start();
}

void SideCopyMonitor::WaitForAll()
{
    if (m_jobs.empty()) {
        return;
    }
    {
        const ui::BusyCursor busy(m_services);
        for (const auto& job : m_jobs) {
            job->Wait();
        }
    }
    Poll();
}

void SideCopyMonitor::Poll()
{
    // The finished jobs leave the list before any box is shown: the box's own event loop may
    // come back here.
    std::vector<std::unique_ptr<SideCopyJob>> finished;
    const auto split = std::stable_partition(
        m_jobs.begin(), m_jobs.end(), [](const std::unique_ptr<SideCopyJob>& job) { return !job->Finished(); });
    std::move(split, m_jobs.end(), std::back_inserter(finished));
    m_jobs.erase(split, m_jobs.end());
    ShowProgress();
    for (const auto& job : finished) {
        job->Wait();
        Report(*job);
    }
}

void SideCopyMonitor::ShowProgress()
{
    if (m_jobs.empty()) {
        m_timer.stop();
        m_pane->hide();
        m_pane->clear();
        return;
    }
    const SideCopyJob& job = *m_jobs.front();
    QString text = QString("Writing %1\u2026 %2%").arg(FileName(job.Target()), QString::number(job.Percent()));
    if (m_jobs.size() > 1) {
        text += QString(" (%1 more)").arg(m_jobs.size() - 1);
    }
    m_pane->setText(text);
    m_pane->show();
}

void SideCopyMonitor::Report(const SideCopyJob& job)
{
    const SideCopyJob::Outcome& outcome = job.Result();
    if (outcome.written || outcome.cancelled) {
        return;
    }
    const QString text = QString("The spreadsheet copy %1 was not written: %2")
                             .arg(QString::fromStdString(job.Target()), QString::fromStdString(outcome.text));
    m_services.ShowMessageWithDetail(
        &m_frame, text, "Save Error", ui::MessageIcon::Error, QString::fromStdString(outcome.detail));
}

} // namespace editor
