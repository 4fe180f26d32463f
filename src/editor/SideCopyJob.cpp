#include "editor/SideCopyJob.h"

#include "common/OutOfMemory.h"
#include "common/PendingError.h"
#include "db/CProgDb.h"
#include "excel/CAccessExcelOut.h"

namespace editor {

SideCopyJob::SideCopyJob(std::unique_ptr<core::CProgDb> snapshot, std::string target)
    : m_snapshot(std::move(snapshot))
    , m_target(std::move(target))
    , m_codePage(core::InternalCodePage())
{ }

SideCopyJob::~SideCopyJob()
{
    Cancel();
    Wait();
}

void SideCopyJob::Start()
{
    if (!m_thread.joinable() && !m_finished.load()) {
        m_thread = std::thread([this] { Run(); });
    }
}

void SideCopyJob::Wait()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SideCopyJob::Run()
{
    const core::ScopedCodePage codePage(m_codePage);
    core::ClearPendingError(); // this thread's slot
    core::CAccessExcelOut writer;
    writer.SetProgressHook([this](int percent) {
        m_percent.store(percent);
        return !m_cancel.load();
    });
    Outcome outcome;
    outcome.written = core::FailOnOutOfMemory([&] { return writer.Export(m_target, *m_snapshot); });
    if (outcome.written) {
        m_percent.store(100); // also for a database without rows
    }
    outcome.cancelled = !outcome.written && m_cancel.load();
    if (!outcome.written && !outcome.cancelled) {
        outcome.text = core::PendingErrorOrUnknown();
        outcome.detail = core::PendingError().detail;
    }
    core::ClearPendingError();
    m_snapshot.reset(); // the memory goes back as soon as the copy is done
    m_outcome = std::move(outcome);
    m_finished.store(true);
}

} // namespace editor
