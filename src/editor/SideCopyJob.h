#pragma once

#include "common/CodePage.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace core {
class CProgDb;
} // namespace core

namespace editor {

// Writes the spreadsheet side copy of an opened file on a thread of its own, from a snapshot of
// the database taken when the file was read. The code page in force when the job was made is the
// one its names are written in, whatever the window sets meanwhile. The worker's failure text is
// its own: the window thread's pending error is neither read nor changed.
class SideCopyJob
{
public:
    struct Outcome
    {
        bool written = false;
        bool cancelled = false;
        std::string text; // why it failed ("Unknown Error!" when the writer gave no reason)
        std::string detail;
    };

    // Takes the snapshot and the workbook's path; captures the calling thread's code page.
    SideCopyJob(std::unique_ptr<core::CProgDb> snapshot, std::string target);
    // Cancels a copy still running and waits for its thread.
    ~SideCopyJob();
    SideCopyJob(const SideCopyJob&) = delete;
    SideCopyJob& operator=(const SideCopyJob&) = delete;

    const std::string& Target() const { return m_target; }
    // Starts the thread; once only.
    void Start();
    // The share of rows written so far, 0 to 100.
    int Percent() const { return m_percent.load(); }
    bool Finished() const { return m_finished.load(); }
    // Asks the writer to stop; a copy stopped before its file is written leaves nothing behind.
    void Cancel() { m_cancel.store(true); }
    // Waits for the thread to end; the outcome is then final.
    void Wait();
    // Valid once Finished() is true (or after Wait()).
    const Outcome& Result() const { return m_outcome; }

private:
    void Run();

    std::unique_ptr<core::CProgDb> m_snapshot;
    std::string m_target;
    core::CodePageInfo m_codePage;
    std::atomic<int> m_percent{0};
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_finished{false};
    Outcome m_outcome; // written by the worker before m_finished is set
    std::thread m_thread;
};

} // namespace editor
