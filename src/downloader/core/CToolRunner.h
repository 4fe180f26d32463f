#pragma once

#include "downloader/core/OutputText.h"
#include "downloader/core/ToolProcess.h"

#include <functional>
#include <string>
#include <string_view>

class QEventLoop;

// How a run ended.
struct RunResult
{
    enum class Outcome {
        Exited, // the tool ended by itself; exitCode holds its status
        Crashed, // the tool was killed by a signal
        Cancelled, // the user cancelled and the tool was stopped
        StartFailed, // the tool could not be started
        Aborted, // the run could not follow the tool (cancel could not stop it)
    };
    Outcome outcome = Outcome::StartFailed;
    int exitCode = -1;

    bool Succeeded() const { return outcome == Outcome::Exited && exitCode == 0; }
};

// Runs one tool command line and copies everything it prints into the output area as it arrives.
// Run blocks its caller but keeps the window's events flowing, so Cancel and closing the window are
// handled while it runs; they only set flags that the loop reads at its next poll.
class CToolRunner
{
public:
    CToolRunner(std::string commandLine, IOutputSink* output, ToolProcessFactory factory);
    virtual ~CToolRunner();
    CToolRunner(const CToolRunner&) = delete;
    CToolRunner& operator=(const CToolRunner&) = delete;

    // Starts the tool and returns when it has ended, has been cancelled, or could not be started.
    virtual RunResult Run();
    // Asks the running loop to stop the tool at its next poll.
    virtual void Cancel();
    // Appends text to the output area with the backspace rule.
    void WriteText(std::string_view text);

    // Called with every block of tool output (after the prompt cut), for progress display.
    void SetBlockObserver(std::function<void(std::string_view)> observer) { m_blockObserver = std::move(observer); }
    bool CancelRequested() const { return m_cancelRequested; }

    // Pause between polls when no output is waiting, in milliseconds.
    unsigned pollInterval = 100;
    // Largest block read at once, in bytes.
    static constexpr std::size_t kBlockBytes = 8191;

    static constexpr std::string_view kCanceledText = "\r\n\r\nCanceled.\r\nProcess terminated.\r\n";

private:
    void Report(std::string_view message, const std::string& reason);
    void WriteBlock(const std::string& block);
    void DrainOutput(IToolProcess& process);
    void WaitForActivity(IToolProcess& process);
    RunResult Stop(IToolProcess& process);

    std::string m_commandLine;
    IOutputSink* m_output;
    ToolProcessFactory m_factory;
    std::function<void(std::string_view)> m_blockObserver;
    bool m_cancelRequested = false;
    QEventLoop* m_wait = nullptr;
};
