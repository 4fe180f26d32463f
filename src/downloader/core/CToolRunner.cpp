#include "downloader/core/CToolRunner.h"

#include "downloader/core/WinCommandLine.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

CToolRunner::CToolRunner(std::string commandLine, IOutputSink* output, ToolProcessFactory factory)
    : m_commandLine(std::move(commandLine))
    , m_output(output)
    , m_factory(std::move(factory))
{ }

CToolRunner::~CToolRunner() = default;

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

void CToolRunner::Cancel()
{
    m_cancelRequested = true;
    if (m_wait != nullptr) {
        m_wait->quit();
    }
}

void CToolRunner::WriteBlock(const std::string& block)
{
    const std::string_view shown = CutAtPressAnyKey(block);
    WriteText(shown);
    if (m_blockObserver) {
        m_blockObserver(shown);
    }
}

void CToolRunner::DrainOutput(IToolProcess& process)
{
    while (process.HasOutput()) {
        WriteBlock(process.Read(kBlockBytes));
    }
}

void CToolRunner::WaitForActivity(IToolProcess& process)
{
    if (m_cancelRequested || process.HasOutput() || process.HasEnded()) {
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(pollInterval), &loop, &QEventLoop::quit);
    m_wait = &loop;
    loop.exec();
    m_wait = nullptr;
}

RunResult CToolRunner::Stop(IToolProcess& process)
{
    if (process.Terminate()) {
        DrainOutput(process);
        WriteText(kCanceledText);
        return {RunResult::Outcome::Cancelled, -1};
    }
    Report("Error terminating process.", "the tool did not stop");
    return {RunResult::Outcome::Aborted, -1};
}

RunResult CToolRunner::Run()
{
    const std::vector<std::string> words = SplitWindowsCommandLine(m_commandLine);
    const std::vector<std::string> arguments(words.begin() + 1, words.end());
    std::unique_ptr<IToolProcess> process = m_factory();
    std::string reason;
    if (!process->Start(words.front(), arguments, reason)) {
        Report("\r\nError creating process", reason);
        return {RunResult::Outcome::StartFailed, -1};
    }
    process->SetActivityCallback([this] {
        if (m_wait != nullptr) {
            m_wait->quit();
        }
    });
    while (true) {
        if (process->HasOutput()) {
            WriteBlock(process->Read(kBlockBytes));
            QCoreApplication::processEvents();
        } else if (process->HasEnded()) {
            DrainOutput(*process);
            process->SetActivityCallback(nullptr);
            if (process->Crashed()) {
                return {RunResult::Outcome::Crashed, process->ExitCode()};
            }
            return {RunResult::Outcome::Exited, process->ExitCode()};
        } else {
            QCoreApplication::processEvents();
        }
        // Checked after output as well, so a tool that prints without pause can still be stopped.
        if (m_cancelRequested) {
            process->SetActivityCallback(nullptr);
            return Stop(*process);
        }
        WaitForActivity(*process);
    }
}
