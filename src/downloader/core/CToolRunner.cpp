#include "downloader/core/CToolRunner.h"

#include "downloader/core/WinCommandLine.h"

#include <vector>

namespace downloader {

CToolRunner::CToolRunner(std::string commandLine, IOutputSink* output, ToolProcessFactory factory, QObject* parent)
    : QObject(parent)
    , m_commandLine(std::move(commandLine))
    , m_output(output)
    , m_factory(std::move(factory))
{
    m_poll.setSingleShot(true);
    connect(&m_poll, &QTimer::timeout, this, &CToolRunner::Poll);
}

CToolRunner::~CToolRunner()
{
    if (m_process) {
        m_process->SetActivityCallback(nullptr);
    }
}

void CToolRunner::WriteText(std::string_view text)
{
    if (m_output != nullptr) {
        WriteOutputText(*m_output, text);
    }
}

void CToolRunner::Report(std::string_view message, const std::string& reason)
{
    std::string text(message);
    text += "\r\n";
    text += reason.empty() ? std::string("No status because FormatMessage failed.\r\n") : reason + "\r\n";
    WriteText(text);
}

void CToolRunner::Start()
{
    const std::vector<std::string> words = SplitWindowsCommandLine(m_commandLine);
    const std::vector<std::string> arguments(words.begin() + 1, words.end());
    m_running = true;
    m_process = m_factory();
    std::string reason;
    if (!m_process->Start(words.front(), arguments, reason)) {
        m_process.reset();
        Report("\r\nError creating process", reason);
        // From the event loop, so a caller never sees the end of a run inside the call that began it.
        QTimer::singleShot(0, this, [this] { Finish({RunResult::Outcome::StartFailed, -1}); });
        return;
    }
    m_process->SetActivityCallback([this] { PollAfter(0); });
    emit started();
    PollAfter(0);
}

void CToolRunner::Cancel()
{
    m_cancelRequested = true;
    if (m_process) {
        PollAfter(0);
    }
}

void CToolRunner::PollAfter(unsigned milliseconds)
{
    m_poll.start(static_cast<int>(milliseconds));
}

void CToolRunner::WriteBlock(const std::string& block)
{
    const std::string_view shown = CutAtPressAnyKey(block);
    WriteText(shown);
    emit output(std::string(shown));
}

void CToolRunner::DrainOutput()
{
    while (m_process->HasOutput()) {
        WriteBlock(m_process->Read(kBlockBytes));
    }
}

// One step of the run. Output is read one block per step, so the window's events are handled between
// blocks; a cancel is checked after output as well, so a tool that prints without pause can be stopped.
void CToolRunner::Poll()
{
    if (m_process->HasOutput()) {
        WriteBlock(m_process->Read(kBlockBytes));
        if (m_cancelRequested) {
            Stop();
        } else {
            PollAfter(0);
        }
        return;
    }
    if (m_process->HasEnded()) {
        DrainOutput();
        const bool crashed = m_process->Crashed();
        const int exitCode = m_process->ExitCode();
        Finish({crashed ? RunResult::Outcome::Crashed : RunResult::Outcome::Exited, exitCode});
        return;
    }
    if (m_cancelRequested) {
        Stop();
        return;
    }
    PollAfter(pollInterval);
}

void CToolRunner::Stop()
{
    if (m_process->Terminate()) {
        DrainOutput();
        WriteText(kCanceledText);
        Finish({RunResult::Outcome::Cancelled, -1});
        return;
    }
    Report("Error terminating process.", "the tool did not stop");
    Finish({RunResult::Outcome::Aborted, -1});
}

void CToolRunner::Finish(RunResult result)
{
    m_poll.stop();
    if (m_process) {
        m_process->SetActivityCallback(nullptr);
        m_process.reset();
    }
    m_running = false;
    emit finished(result);
}

} // namespace downloader
