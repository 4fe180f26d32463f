#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace downloader {

// The tool's process as the runner drives it: output and errors merged on one channel, no input.
// The real one wraps QProcess; tests replace it through the factory with scripted output.
class IToolProcess
{
public:
    virtual ~IToolProcess() = default;
    // Starts the program; false with the system's reason when it could not be started.
    [[nodiscard]] virtual bool
    Start(const std::string& program, const std::vector<std::string>& arguments, std::string& reason)
        = 0;
    // Bytes are waiting to be read.
    virtual bool HasOutput() const = 0;
    // Reads at most maxBytes of the waiting bytes.
    virtual std::string Read(std::size_t maxBytes) = 0;
    // The process has ended (all its output is then waiting to be read).
    virtual bool HasEnded() const = 0;
    // Stops the process and waits for it; false when it could not be stopped.
    [[nodiscard]] virtual bool Terminate() = 0;
    // How it ended: its exit status, or a crash (killed by a signal).
    virtual int ExitCode() const = 0;
    virtual bool Crashed() const = 0;
    // Called when output arrives or the process ends, so a waiting runner wakes at once.
    virtual void SetActivityCallback(std::function<void()> callback) = 0;
};

using ToolProcessFactory = std::function<std::unique_ptr<IToolProcess>()>;

// The factory of real processes.
ToolProcessFactory QtToolProcessFactory();

} // namespace downloader
