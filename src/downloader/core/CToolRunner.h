#pragma once

#include "downloader/core/OutputText.h"
#include "downloader/core/RunResult.h"
#include "downloader/core/ToolProcess.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>
#include <string_view>

namespace downloader {

// Runs one tool command line and copies everything it prints into the output area as it arrives.
// Start returns at once; the run then goes on in polls driven by the event loop (woken early when the
// tool prints or ends) and reports its end through finished. Cancel is taken up at the next poll.
class CToolRunner final : public QObject
{
    Q_OBJECT
public:
    CToolRunner(std::string commandLine, IOutputSink* output, ToolProcessFactory factory, QObject* parent = nullptr);
    ~CToolRunner() override;
    CToolRunner(const CToolRunner&) = delete;
    CToolRunner& operator=(const CToolRunner&) = delete;

    // Starts the tool: started follows at once, or finished with StartFailed from the event loop.
    // A runner runs once.
    void Start();
    // Asks the run to stop the tool at its next poll.
    void Cancel();
    // Appends text to the output area with the backspace rule.
    void WriteText(std::string_view text);

    [[nodiscard]] bool CancelRequested() const { return m_cancelRequested; }
    // Started and its end not yet reported.
    [[nodiscard]] bool IsRunning() const { return m_running; }

    // Pause between polls when no output is waiting, in milliseconds.
    unsigned pollInterval = 100;
    // Largest block read at once, in bytes.
    static constexpr std::size_t kBlockBytes = 8191;

    static constexpr std::string_view kCanceledText = "\r\n\r\nCanceled.\r\nProcess terminated.\r\n";

signals:
    // The tool is running.
    void started();
    // One block of the tool's output as it was written to the output area (after the prompt cut).
    void output(const std::string& text);
    // The run is over; the tool has stopped unless the outcome is Aborted.
    void finished(downloader::RunResult result);

private:
    void Report(std::string_view message, const std::string& reason);
    void WriteBlock(const std::string& block);
    void DrainOutput();
    void Poll();
    void PollAfter(unsigned milliseconds);
    void Stop();
    void Finish(RunResult result);

    std::string m_commandLine;
    IOutputSink* m_output;
    ToolProcessFactory m_factory;
    std::unique_ptr<IToolProcess> m_process;
    QTimer m_poll;
    bool m_running = false;
    bool m_cancelRequested = false;
};

} // namespace downloader
